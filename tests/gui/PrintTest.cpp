// Printing the view to a PDF file and painting it on the screen: the page
// carries the whole picture, pixel for pixel, at its true size, and the
// screen shows enlarged pixels as solid squares.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QtEndian>

#include "image/DibResolution.h"

#include "platform/qt/QtViewWidget.h"
#include "res/Resource.h"
#include "shell/qt/QtAppBackend.h"
#include "tests/gui/GuiSupport.h"

namespace qov::test {
namespace {

struct PdfImage {
  int width = 0;
  int height = 0;
  QByteArray rgb;  // 3 bytes a pixel, top row first
};

// The image objects of a PDF as Qt writes them: a dictionary naming
// /Subtype /Image with its size, then a Flate stream of RGB bytes.
std::vector<PdfImage> ImagesOf(const QByteArray& pdf) {
  std::vector<PdfImage> images;
  static const QRegularExpression dictionary(
      QStringLiteral("<<([^>]*/Subtype\\s*/Image[^>]*)>>\\s*stream\\r?\\n"));
  auto matches = dictionary.globalMatch(QString::fromLatin1(pdf));
  while (matches.hasNext()) {
    const auto match = matches.next();
    const QString dict = match.captured(1);
    if (!dict.contains(QStringLiteral("/DeviceRGB")) ||
        !dict.contains(QStringLiteral("/FlateDecode")))
      continue;
    PdfImage image;
    image.width =
        QRegularExpression(QStringLiteral("/Width\\s+(\\d+)")).match(dict).captured(1).toInt();
    image.height =
        QRegularExpression(QStringLiteral("/Height\\s+(\\d+)")).match(dict).captured(1).toInt();
    const auto start = match.capturedEnd(0);
    const auto end = pdf.indexOf("endstream", start);
    QByteArray packed(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(image.width * image.height * 3), packed.data());
    image.rgb = qUncompress(packed + pdf.mid(start, end - start));
    images.push_back(image);
  }
  return images;
}

// Where the (one) picture of a one-page PDF as Qt writes it lies, in
// millimetres from the paper's top-left corner. The page content holds the
// device-to-point matrix first, then the picture's placement in device
// pixels and the image's own unit square.
QRectF PlacedPictureMm(const QByteArray& pdf, qreal paperHeightPt) {
  static const QRegularExpression contents(QStringLiteral("<<([^>]*)>>\\s*stream\\r?\\n"));
  static const QRegularExpression matrix(
      QStringLiteral("([-\\d.]+) 0 0 ([-\\d.]+) ([-\\d.]+) ([-\\d.]+) cm"));
  const QString text = QString::fromLatin1(pdf);
  auto streams = contents.globalMatch(text);
  while (streams.hasNext()) {
    const auto stream = streams.next();
    if (stream.captured(1).contains(QStringLiteral("/Image")))
      continue;
    const auto start = stream.capturedEnd(0);
    QByteArray packed(4, '\0');
    qToBigEndian<quint32>(1u << 16, packed.data());
    const QString page = QString::fromLatin1(
        qUncompress(packed + pdf.mid(start, pdf.indexOf("endstream", start) - start)));
    if (!page.contains(QStringLiteral("Do")))
      continue;
    std::vector<std::array<qreal, 4>> m;
    auto found = matrix.globalMatch(page);
    while (found.hasNext()) {
      const auto f = found.next();
      m.push_back({f.captured(1).toDouble(), f.captured(2).toDouble(), f.captured(3).toDouble(),
                   f.captured(4).toDouble()});
    }
    if (m.size() < 3)
      return {};
    const auto& base = m.front();
    const auto& placed = m[m.size() - 2];
    const auto& unit = m.back();
    const qreal mmPerPt = 25.4 / 72;
    return {(base[2] + placed[2] * base[0]) * mmPerPt,
            (paperHeightPt - base[3] - placed[3] * base[1]) * mmPerPt,
            placed[0] * unit[0] * base[0] * mmPerPt, placed[1] * unit[1] * base[1] * mmPerPt};
  }
  return {};
}

class PrintTest : public ::testing::Test {
 protected:
  void SetUp() override { QOV_REQUIRE_QT(); }
};

TEST_F(PrintTest, DirectPrintToPdfCarriesTheWholePicture) {
  const TempDir dir;
  const std::string picture = dir.File("stripes.bmp");
  const int width = 300;
  const int height = 40;
  auto colour = [](int x, int y) {
    return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(x % 256),
                                       static_cast<std::uint8_t>(y * 6),
                                       static_cast<std::uint8_t>((x * 7 + y) % 256)};
  };
  WriteBmp(picture, MakePicture(width, height, colour));
  Session s({picture});
  ASSERT_TRUE(s.Started());
  // A window narrower than the picture, scrolled right at ×2: the page
  // still gets every pixel.
  s.MainWindow()->resize(400, 300);
  s.Frame().RunCommand(ID_SCALE_2);
  s.View().ScrollToPosition({8, 0});
  ASSERT_LT(s.View().GetClientRect().Width(), 2 * width);

  const QString pdf = QString::fromStdString(dir.File("page.pdf"));
  s.Windows().Printer().setOutputFileName(pdf);
  EXPECT_TRUE(s.Frame().RunCommand(ID_FILE_PRINT_DIRECT));

  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const std::vector<PdfImage> images = ImagesOf(file.readAll());
  ASSERT_EQ(images.size(), 1u);
  const PdfImage& image = images.front();
  EXPECT_EQ(image.width, width);
  EXPECT_EQ(image.height, height);
  ASSERT_EQ(image.rgb.size(), image.width * image.height * 3);
  int wrong = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const auto bgr = colour(x, y);
      const char* px = image.rgb.constData() + 3 * (y * image.width + x);
      wrong += static_cast<std::uint8_t>(px[0]) != bgr[2] ||
               static_cast<std::uint8_t>(px[1]) != bgr[1] ||
               static_cast<std::uint8_t>(px[2]) != bgr[0];
    }
  }
  EXPECT_EQ(wrong, 0);
}

// At 400 dpi an A4 picture is printed at 210 × 297 mm, the whole page a PDF
// file offers; a wider one fills the printable width, proportions kept;
// both centred.
TEST_F(PrintTest, PictureIsPrintedAtItsTrueSizeOrFittedToThePage) {
  struct Case {
    const char* name;
    int width, height;
    bool fitted;
  };
  const Case cases[] = {{"A4 at 400 dpi", 3307, 4677, false},
                        {"wider than A4 at 400 dpi", 3600, 2400, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TempDir dir;
    const std::string picture = dir.File("sheet.bmp");
    WriteBmp(picture, MakePicture(c.width, c.height, [](std::int64_t x, std::int64_t y) {
               const std::uint8_t v = x % 100 == 0 || y % 100 == 0 ? 0 : 255;
               return Bgr{v, v, v};
             }));
    Session s({picture});
    ASSERT_TRUE(s.Started());
    {
      const CGlobalLock dib(s.Doc().m_hDib);
      SetDibResolution(dib.get(), {15'748, 15'748});
    }
    QPrinter& printer = s.Windows().Printer();
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    const QString pdf = QString::fromStdString(dir.File("page.pdf"));
    printer.setOutputFileName(pdf);
    ASSERT_TRUE(s.Frame().RunCommand(ID_FILE_PRINT_DIRECT));

    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QRectF paper = printer.pageLayout().fullRect(QPageLayout::Point);
    const QRectF placed = PlacedPictureMm(file.readAll(), paper.height());
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    const qreal trueWidth = c.width * 25.4 / 400;
    EXPECT_NEAR(placed.width(), c.fitted ? printable.width() : trueWidth, 0.1);
    EXPECT_NEAR(placed.height() / placed.width(), static_cast<qreal>(c.height) / c.width, 0.001);
    EXPECT_NEAR(placed.center().x(), printable.center().x(), 0.1);
    EXPECT_NEAR(placed.center().y(), printable.center().y(), 0.1);
  }
}

TEST_F(PrintTest, ScreenPaintsEnlargedPixelsAsSolidSquares) {
  const TempDir dir;
  const std::string picture = dir.File("checker.bmp");
  auto colour = [](int x, int y) {
    const std::uint8_t v = (x + y) % 2 ? 255 : 0;
    return std::array<std::uint8_t, 3>{v, static_cast<std::uint8_t>(x),
                                       static_cast<std::uint8_t>(y * 10)};
  };
  WriteBmp(picture, MakePicture(200, 20, colour));
  Session s({picture});
  ASSERT_TRUE(s.Started());
  s.Frame().RunCommand(ID_SCALE_8);
  s.View().ScrollToPosition({13, 0});
  ASSERT_EQ(s.View().GetScrollPosition(), (CPoint{13, 0}));
  QtViewWidget* widget = s.Windows().ViewWidget();
  QImage shown(widget->viewport()->size(), QImage::Format_RGB32);
  QPainter painter(&shown);
  widget->PaintView(painter, shown.rect());
  painter.end();
  // Scrolled to x = 13 at ×8: image column 1 starts at window x = 8 − 13.
  for (int wx = 0; wx < 8 * 12; ++wx) {
    const int ix = (wx + 13) / 8;
    for (int wy : {0, 7, 8, 100}) {
      const auto bgr = colour(ix, wy / 8);
      ASSERT_EQ(shown.pixel(wx, wy), qRgb(bgr[2], bgr[1], bgr[0])) << wx << "," << wy;
    }
  }
}

}  // namespace
}  // namespace qov::test
