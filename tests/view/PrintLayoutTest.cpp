// The printed page: where the whole picture goes, and what the view draws
// there whatever the window shows.

#include "image/DibResolution.h"
#include "tests/support/RecordingDC.h"
#include "tests/view/ViewTestSupport.h"
#include "view/PrintLayout.h"

namespace qov::test {
namespace {

// 10,000 pixels a metre on a 254-dpi device: one picture pixel is one device
// pixel at true size. Without a resolution a pixel is 0.34 mm, 3.4 device
// pixels there.
using Call = RecordingDC::Call;

constexpr DibResolution kTenPerMm{10'000, 10'000};
constexpr CSize k254Dpi{254, 254};

TEST(PrintLayout, WholePictureAtTrueSizeCentredAndFittedWhenLarger) {
  struct Case {
    const char* name;
    CRect page;
    CSize logPixels;
    CSize picture;
    DibResolution resolution;
    CRect expected;
  };
  const Case cases[] = {
      {"true size", {0, 0, 1000, 800}, k254Dpi, {400, 300}, kTenPerMm, {300, 250, 700, 550}},
      {"finer device", {0, 0, 1000, 800}, {508, 508}, {400, 300}, kTenPerMm, {100, 100, 900, 700}},
      {"page off the origin",
       {50, 60, 1050, 860},
       k254Dpi,
       {400, 300},
       kTenPerMm,
       {350, 310, 750, 610}},
      {"axes of their own",
       {0, 0, 1000, 800},
       k254Dpi,
       {100, 100},
       {10'000, 5'000},
       {450, 300, 550, 500}},
      {"no resolution: 0.34 mm a pixel",
       {0, 0, 1000, 800},
       k254Dpi,
       {100, 50},
       {},
       {330, 315, 670, 485}},
      {"wider than the page",
       {0, 0, 1000, 800},
       k254Dpi,
       {2000, 800},
       kTenPerMm,
       {0, 200, 1000, 600}},
      {"tall picture, landscape page",
       {0, 0, 1100, 850},
       k254Dpi,
       {500, 1700},
       kTenPerMm,
       {425, 0, 675, 850}},
      {"wide picture, portrait page",
       {0, 0, 850, 1100},
       k254Dpi,
       {1700, 500},
       kTenPerMm,
       {0, 425, 850, 675}},
      {"A4 at 400 dpi on an A4 page at 1200 dpi",
       {0, 0, 9921, 14031},
       {1200, 1200},
       {3307, 4677},
       {15'748, 15'748},
       {0, 0, 9921, 14031}},
      {"no picture", {0, 0, 1000, 800}, k254Dpi, {0, 0}, kTenPerMm, {}},
      {"no page", {}, k254Dpi, {10, 10}, kTenPerMm, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PicturePageRect(c.page, c.logPixels, c.picture, c.resolution), c.expected);
  }
}

class PrintPageTest : public ViewTest {
 public:
  // Prints the view's page on a 254-dpi device of `page`'s size.
  RecordingDC Print(const CRect& page) {
    RecordingDC dc(page.right, page.bottom, /*printing=*/true);
    CPrintInfo info;
    info.m_rectDraw = page;
    info.m_sizeLogPixels = k254Dpi;
    view.OnPrepareDC(&dc, &info);
    view.OnPrint(&dc, &info);
    return dc;
  }
  void SetResolution(DibResolution resolution) {
    const CGlobalLock dib(doc.m_hDib);
    SetDibResolution(dib.get(), resolution);
  }
};

// Scrolled and enlarged in the window, the page still gets the whole
// picture; smaller than its pixels, each page pixel is the darkest of its
// block, so a one-pixel line is printed.
TEST_F(PrintPageTest, PageCarriesTheWholePictureWhateverTheWindowShows) {
  struct Case {
    const char* name;
    std::int64_t width, height;
    CRect page, expected;
  };
  const Case cases[] = {
      {"true size", 40, 30, {0, 0, 100, 60}, {30, 15, 70, 45}},
      {"fitted, a quarter", 400, 300, {0, 0, 100, 100}, {0, 12, 100, 87}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.SetClientSize({30, 20});
    view.m_nScale = 8;
    // A one-pixel black column at x = 21 and row at y = 13 (from the top).
    SetPicture(c.width, c.height, [](std::int64_t x, std::int64_t y) {
      return x == 21 || y == 14 ? kBlack : Color3{static_cast<std::uint8_t>(x), 200, 250};
    });
    SetResolution(kTenPerMm);
    view.ScrollToPosition({37, 19});
    const RecordingDC dc = Print(c.page);
    ASSERT_FALSE(dc.Calls().empty());
    const Call& call = dc.Calls().back();
    EXPECT_EQ(
        (CRect{call.xDest, call.yDest, call.xDest + call.destWidth, call.yDest + call.destHeight}),
        c.expected);
    const std::int64_t factor = c.width / c.expected.Width();
    for (std::int64_t y = c.expected.top; y < c.expected.bottom; ++y) {
      for (std::int64_t x = c.expected.left; x < c.expected.right; ++x) {
        const std::int64_t px = (x - c.expected.left) * factor;
        const std::int64_t py = (y - c.expected.top) * factor;
        const bool line = (px <= 21 && 21 < px + factor) || (py <= 13 && 13 < py + factor);
        const RecordingDC::Rgb shown = dc.PixelAt(x, y);
        if (line)
          ASSERT_EQ(shown, (RecordingDC::Rgb{0, 0, 0})) << x << "," << y;
        else
          ASSERT_EQ(shown.b, static_cast<std::uint8_t>(px)) << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace qov::test
