// Printing the view to a PDF file and painting it on the screen: the page
// carries the part of the picture that the window shows, pixel for pixel,
// and the screen shows enlarged pixels as solid squares.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QtEndian>

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

class PrintTest : public ::testing::Test {
 protected:
  void SetUp() override { QOV_REQUIRE_QT(); }
};

TEST_F(PrintTest, DirectPrintToPdfCarriesTheVisiblePartOfThePicture) {
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
  // A window narrower than the picture, scrolled right by 8 pixels at ×2:
  // the page shows image columns 4 to 4 + client / 2, as the screen does.
  s.MainWindow()->resize(400, 300);
  s.Frame().RunCommand(ID_SCALE_2);
  s.View().ScrollToPosition({8, 0});
  const CRect client = s.View().GetClientRect();
  ASSERT_LT(client.Width(), 2 * width);

  const QString pdf = QString::fromStdString(dir.File("page.pdf"));
  s.Windows().Printer().setOutputFileName(pdf);
  EXPECT_TRUE(s.Frame().RunCommand(ID_FILE_PRINT_DIRECT));

  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const std::vector<PdfImage> images = ImagesOf(file.readAll());
  ASSERT_EQ(images.size(), 1u);
  const PdfImage& image = images.front();
  const int firstColumn = 8 / 2;
  const int columns = static_cast<int>((2 + client.Width() + 8 - 1) / 2) - firstColumn;
  EXPECT_EQ(image.width, columns);
  EXPECT_EQ(image.height, height);
  ASSERT_EQ(image.rgb.size(), image.width * image.height * 3);
  int wrong = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const auto bgr = colour(firstColumn + x, y);
      const char* px = image.rgb.constData() + 3 * (y * image.width + x);
      wrong += static_cast<std::uint8_t>(px[0]) != bgr[2] ||
               static_cast<std::uint8_t>(px[1]) != bgr[1] ||
               static_cast<std::uint8_t>(px[2]) != bgr[0];
    }
  }
  EXPECT_EQ(wrong, 0);
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
