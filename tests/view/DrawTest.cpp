// Drawing: PaintDib's calls, and the view's OnDraw clipped to the whole
// picture pixels that touch the window, at every scale and scroll position.

#include <algorithm>
#include <functional>
#include <string>

#include "image/DibBlock.h"
#include "tests/support/RecordingDC.h"
#include "tests/support/TempDir.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

using Call = RecordingDC::Call;

Color3 ColorOf(RecordingDC::Rgb rgb) {
  return {rgb.b, rgb.g, rgb.r};
}

// A picture whose every pixel differs from its neighbours.
const PixelFunction kVaried = [](std::int64_t x, std::int64_t y) {
  return Color3{static_cast<std::uint8_t>(x * 17 + y), static_cast<std::uint8_t>(y * 29),
                static_cast<std::uint8_t>(200 - x * 3 - y * 5)};
};

// The least blue, green and red of the d × d block (bx, by) of a width ×
// height picture, cut at its edges: what a device pixel shows below ×1.
Color3 DarkestOfBlock(const PixelFunction& picture, CSize size, std::int64_t d, std::int64_t bx,
                      std::int64_t by) {
  Color3 least{255, 255, 255};
  for (std::int64_t y = by * d; y < std::min((by + 1) * d, size.cy); ++y) {
    for (std::int64_t x = bx * d; x < std::min((bx + 1) * d, size.cx); ++x) {
      const Color3 c = picture(x, y + 1);
      for (std::size_t i = 0; i < 3; ++i)
        least[i] = std::min(least[i], c[i]);
    }
  }
  return least;
}

class PaletteCountingDC : public RecordingDC {
 public:
  using RecordingDC::RecordingDC;
  void* SelectPalette(void* palette, bool forceBackground) override {
    selected.push_back(palette);
    allBackground = allBackground && forceBackground;
    return previous;
  }
  void* previous = &selected;
  std::vector<void*> selected;
  bool allBackground = true;
};

TEST(PaintDib, NullBlockDrawsNothing) {
  RecordingDC dc;
  EXPECT_EQ(PaintDib(&dc, {0, 0, 4, 4}, nullptr, {0, 0, 4, 4}), 0);
  EXPECT_TRUE(dc.Calls().empty());
}

TEST(PaintDib, EqualSizesDrawUnstretchedAndLargerDestinationsStretch) {
  CGlobalOwner dib(MakeDib24(6, 8, kVaried));
  struct Case {
    CRect dest, src;
    Call::Kind kind;
  };
  const Case cases[] = {
      {{0, 0, 6, 8}, {0, 0, 6, 8}, Call::SetDIBits},
      {{3, 4, 5, 7}, {1, 2, 3, 5}, Call::SetDIBits},
      {{0, 0, 12, 16}, {0, 0, 6, 8}, Call::Stretch},
      {{8, 16, 24, 40}, {1, 2, 3, 5}, Call::Stretch},
  };
  for (const Case& c : cases) {
    PaletteCountingDC dc(40, 40);
    const int lines = PaintDib(&dc, c.dest, dib.get(), c.src);
    ASSERT_EQ(dc.Calls().size(), 1u);
    const Call& call = dc.Calls()[0];
    EXPECT_EQ(call.kind, c.kind);
    EXPECT_EQ(call.stretchMode, COLORONCOLOR);
    EXPECT_EQ(call.xDest, c.dest.left);
    EXPECT_EQ(call.yDest, c.dest.top);
    EXPECT_EQ(call.destWidth, c.dest.Width());
    EXPECT_EQ(call.destHeight, c.dest.Height());
    EXPECT_EQ(call.xSrc, c.src.left);
    EXPECT_EQ(call.ySrc, 8 - c.src.bottom);  // bottom-up: from the lower-left corner
    if (c.kind == Call::SetDIBits) {
      EXPECT_EQ(call.startScan, 0);
      EXPECT_EQ(call.scanLines, 8);
    } else {
      EXPECT_EQ(call.srcWidth, c.src.Width());
      EXPECT_EQ(call.srcHeight, c.src.Height());
    }
    EXPECT_GT(lines, 0);
    EXPECT_TRUE(dc.selected.empty());  // the view passes no palette
    // Rows src.top .. src.bottom − 1 counted from the top, each pixel as a
    // solid square of the scale factor.
    const std::int64_t sx = c.dest.Width() / c.src.Width();
    const std::int64_t sy = c.dest.Height() / c.src.Height();
    for (std::int64_t y = c.dest.top; y < c.dest.bottom; ++y) {
      for (std::int64_t x = c.dest.left; x < c.dest.right; ++x) {
        const Color3 expected =
            kVaried(c.src.left + (x - c.dest.left) / sx, c.src.top + (y - c.dest.top) / sy + 1);
        ASSERT_EQ(ColorOf(dc.PixelAt(x, y)), expected) << "device " << x << "," << y;
      }
    }
  }
}

TEST(PaintDib, PaletteIsSelectedAsBackgroundAndRestored) {
  CGlobalOwner dib(MakeDib24(2, 2, kVaried));
  PaletteCountingDC dc(4, 4);
  int palette = 0;
  PaintDib(&dc, {0, 0, 2, 2}, dib.get(), {0, 0, 2, 2}, &palette);
  ASSERT_EQ(dc.selected.size(), 2u);
  EXPECT_EQ(dc.selected[0], &palette);
  EXPECT_EQ(dc.selected[1], dc.previous);
  EXPECT_TRUE(dc.allBackground);
}

// Taller than 65535 rows: the scan-line count is not cut to 16 bits, so the
// bottom rows are drawn too.
TEST(PaintDib, EveryRowOfATallPictureIsDrawn) {
  constexpr std::int64_t kHeight = 70000;
  CGlobalOwner dib(MakeDib24(1, kHeight, [](std::int64_t, std::int64_t y) {
    return Color3{static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(y >> 8), 1};
  }));
  RecordingDC dc(1, 10);
  PaintDib(&dc, {0, 0, 1, 10}, dib.get(), {0, kHeight - 10, 1, kHeight});
  ASSERT_EQ(dc.Calls().size(), 1u);
  EXPECT_EQ(dc.Calls()[0].scanLines, kHeight);
  for (std::int64_t row = 0; row < 10; ++row) {
    const std::int64_t y = kHeight - 10 + row + 1;
    EXPECT_EQ(ColorOf(dc.PixelAt(0, row)),
              (Color3{static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(y >> 8), 1}));
  }
}

class DrawTest : public ViewTest {
 public:
  // Paints the view as the window would, into a client-sized picture.
  RecordingDC Paint(bool printing = false) {
    const CRect client = view.GetClientRect();
    RecordingDC dc(client.Width(), client.Height(), printing);
    host.Paint(dc);
    return dc;
  }
};

TEST_F(DrawTest, WithoutPictureNothingIsDrawn) {
  EXPECT_TRUE(Paint().Calls().empty());
}

// The source rectangle in picture pixels (top counted from the top) and the
// destination in logical units of the enlarged picture.
TEST_F(DrawTest, RectanglesCoverTheWholePixelsThatTouchTheWindow) {
  struct Case {
    const char* name;
    std::int64_t width, height;
    int scale;
    CSize client;
    CPoint pos;
    CRect src, dst;
  };
  const Case cases[] = {
      {"scale 1, whole picture", 100, 50, 1, {640, 480}, {0, 0}, {0, 0, 100, 50}, {0, 0, 100, 50}},
      {"window larger than the picture",
       50,
       30,
       2,
       {640, 480},
       {0, 0},
       {0, 0, 50, 30},
       {0, 0, 100, 60}},
      {"scale 8 scrolled to x 13",
       200,
       100,
       8,
       {640, 480},
       {13, 0},
       {1, 0, 82, 60},
       {8, 0, 656, 480}},
      {"scale 4 scrolled on both axes",
       300,
       300,
       4,
       {100, 50},
       {7, 9},
       {1, 2, 27, 15},
       {4, 8, 108, 60}},
      {"scale 1 scrolled", 300, 300, 1, {100, 50}, {7, 9}, {7, 9, 107, 59}, {7, 9, 107, 59}},
      {"scale 2 on pixel edges",
       300,
       300,
       2,
       {100, 50},
       {10, 20},
       {5, 10, 55, 35},
       {10, 20, 110, 70}},
      {"scrolled to the end",
       40,
       30,
       8,
       {100, 50},
       {220, 190},
       {27, 23, 40, 30},
       {216, 184, 320, 240}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.SetClientSize(c.client);
    view.m_nScale = c.scale;
    SetPicture(c.width, c.height, kVaried);
    view.ScrollToPosition(c.pos);
    ASSERT_EQ(view.GetScrollPosition(), c.pos);
    const RecordingDC dc = Paint();
    ASSERT_EQ(dc.Calls().size(), 1u);
    const Call& call = dc.Calls()[0];
    EXPECT_EQ(call.kind, c.scale == 1 ? Call::SetDIBits : Call::Stretch);
    const CRect drawn{call.xDest, call.yDest, call.xDest + call.destWidth,
                      call.yDest + call.destHeight};
    EXPECT_EQ(drawn, c.dst);
    EXPECT_EQ(call.xSrc, c.src.left);
    EXPECT_EQ(call.ySrc, c.height - c.src.bottom);
    if (c.scale != 1) {
      EXPECT_EQ(call.srcWidth, c.src.Width());
      EXPECT_EQ(call.srcHeight, c.src.Height());
    }
  }
}

// What a person sees: at every scale and every scroll position, each device
// pixel of the window shows the picture pixel under it, and white beyond.
TEST_F(DrawTest, WindowShowsThePictureAtEveryScaleAndScrollPosition) {
  constexpr std::int64_t kWidth = 11, kHeight = 9;
  const CSize client{20, 15};
  host.SetClientSize(client);
  for (const int scale : {1, 2, 4, 8}) {
    view.m_nScale = scale;
    SetPicture(kWidth, kHeight, kVaried);
    const CSize total = view.GetTotalSize();
    ASSERT_EQ(total, (CSize{kWidth * scale, kHeight * scale}));
    for (std::int64_t py = 0; py <= std::max<std::int64_t>(total.cy - client.cy, 0); ++py) {
      for (std::int64_t px = 0; px <= std::max<std::int64_t>(total.cx - client.cx, 0); ++px) {
        view.ScrollToPosition({px, py});
        const RecordingDC dc = Paint();
        ASSERT_EQ(dc.Calls().size(), 1u);
        const Call& call = dc.Calls()[0];
        // The drawing starts on the pixel under the window's left and top
        // edges and reaches past its right and bottom edges or the picture's.
        ASSERT_TRUE(call.xDest <= px && px < call.xDest + scale);
        ASSERT_TRUE(call.yDest <= py && py < call.yDest + scale);
        ASSERT_GE(call.xDest + call.destWidth, std::min(px + client.cx, total.cx));
        ASSERT_GE(call.yDest + call.destHeight, std::min(py + client.cy, total.cy));
        ASSERT_LT(call.xDest + call.destWidth, px + client.cx + scale);
        ASSERT_LT(call.yDest + call.destHeight, py + client.cy + scale);
        for (std::int64_t dy = 0; dy < client.cy; ++dy) {
          for (std::int64_t dx = 0; dx < client.cx; ++dx) {
            const std::int64_t x = (dx + px) / scale;
            const std::int64_t y = (dy + py) / scale;
            const Color3 expected = x < kWidth && y < kHeight ? kVaried(x, y + 1) : kWhite;
            ASSERT_EQ(ColorOf(dc.PixelAt(dx, dy)), expected)
                << "scale " << scale << " scrolled to " << px << "," << py << " device " << dx
                << "," << dy;
          }
        }
      }
    }
  }
}

// Below ×1 each device pixel shows the least blue, green and red of its
// block of picture pixels, at every scroll position: a one-pixel black
// line stays black in every device pixel it crosses.
TEST_F(DrawTest, ReducedWindowShowsTheDarkestOfEachBlock) {
  constexpr std::int64_t kWidth = 45, kHeight = 37, kLineX = 17, kLineY = 10;
  const PixelFunction picture = [](std::int64_t x, std::int64_t y) {
    return x == kLineX || y == kLineY ? kBlack : kVaried(x, y);
  };
  const CSize client{4, 3};
  host.SetClientSize(client);
  for (const int d : {2, 3, 8}) {
    view.m_nScale = 1;
    view.m_nReduction = d;
    SetPicture(kWidth, kHeight, picture);
    const CSize total = view.GetTotalSize();
    ASSERT_EQ(total, (CSize{(kWidth + d - 1) / d, (kHeight + d - 1) / d}));
    for (std::int64_t py = 0; py <= std::max<std::int64_t>(total.cy - client.cy, 0); ++py) {
      for (std::int64_t px = 0; px <= std::max<std::int64_t>(total.cx - client.cx, 0); ++px) {
        view.ScrollToPosition({px, py});
        const RecordingDC dc = Paint();
        for (std::int64_t dy = 0; dy < std::min(client.cy, total.cy - py); ++dy) {
          for (std::int64_t dx = 0; dx < std::min(client.cx, total.cx - px); ++dx) {
            ASSERT_EQ(ColorOf(dc.PixelAt(dx, dy)),
                      DarkestOfBlock(picture, {kWidth, kHeight}, d, px + dx, py + dy))
                << "1/" << d << " scrolled to " << px << "," << py << " device " << dx << "," << dy;
          }
        }
      }
    }
  }
}

// The reduced picture is kept from one repaint to the next, but not past a
// change of the pixels it was made from: after each way a command changes
// them, the next repaint at fit shows the new pixels.
TEST_F(DrawTest, FittedWindowShowsThePixelsAfterEachChange) {
  constexpr CSize kSize{45, 37};
  const TempDir dir;
  const std::string other = dir.File("other.bmp");
  WriteBmp(other, PictureOf(kSize.cx, kSize.cy, Uniform(kBlack)));
  struct Case {
    const char* name;
    std::function<void(DrawTest&)> first, change;
  };
  const Case cases[] = {
      {"a pass over the rows", nullptr, [](DrawTest& t) { ASSERT_TRUE(t.Run(ID_DITHER1)); }},
      {"undo, a new block", [](DrawTest& t) { ASSERT_TRUE(t.Run(ID_DITHER1)); },
       [](DrawTest& t) { ASSERT_TRUE(t.Run(ID_EDIT_UNDO)); }},
      {"open", nullptr, [&other](DrawTest& t) { ASSERT_TRUE(t.doc.OnOpenDocument(other)); }},
      {"a pixel operation", nullptr,
       [](DrawTest& t) {
         t.doc.m_curColor = kBlack;
         t.doc.StorePixel(5, 5);
       }},
  };
  host.SetClientSize({4, 3});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetPicture(kSize.cx, kSize.cy, kVaried);
    if (c.first)
      c.first(*this);
    ASSERT_TRUE(Run(ID_SCALE_FIT));
    const RecordingDC before = Paint();
    c.change(*this);
    ASSERT_TRUE(Run(ID_SCALE_FIT));
    const RecordingDC after = Paint();
    const Picture now = PictureOfBlock(doc.m_hDib);
    const PixelFunction pixels = [&now](std::int64_t x, std::int64_t y) {
      return now.At(x, y - 1);
    };
    bool changed = false;
    for (std::int64_t dy = 0; dy < 3; ++dy) {
      for (std::int64_t dx = 0; dx < 4; ++dx) {
        const Color3 expected = DarkestOfBlock(pixels, kSize, view.m_nReduction, dx, dy);
        ASSERT_EQ(ColorOf(after.PixelAt(dx, dy)), expected) << "device " << dx << "," << dy;
        changed = changed || ColorOf(before.PixelAt(dx, dy)) != expected;
      }
    }
    EXPECT_TRUE(changed) << "the change does not show at fit";
  }
}

}  // namespace
}  // namespace qov::test
