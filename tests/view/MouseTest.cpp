// The mouse: the left button captures until it is released, the right
// button loads the pixel under the pointer into the working colour.

#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

class MouseTest : public ViewTest {};

TEST_F(MouseTest, LeftButtonCapturesUntilReleased) {
  view.OnLButtonDown(MK_LBUTTON, {5, 5});
  EXPECT_TRUE(view.HasCapture());
  view.OnMouseMove(MK_LBUTTON, {9, 9});
  EXPECT_TRUE(view.HasCapture());
  view.OnLButtonUp(0, {9, 9});
  EXPECT_FALSE(view.HasCapture());
}

TEST_F(MouseTest, RightButtonLoadsThePixelUnderThePointer) {
  const PixelFunction picture = [](std::int64_t x, std::int64_t y) {
    return Color3{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 9};
  };
  struct Case {
    int scale;
    CPoint pos;
    CPoint point;
    // Document coordinates loaded; y = 0 loads nothing.
    std::int64_t x, y;
    int reduction = 1;
  };
  const Case cases[] = {
      {1, {0, 0}, {5, 7}, 5, 7},      {2, {0, 0}, {5, 7}, 2, 3},    {4, {0, 0}, {17, 9}, 4, 2},
      {8, {0, 0}, {17, 9}, 2, 1},     {8, {13, 40}, {3, 3}, 2, 5},  {1, {8, 20}, {10, 5}, 18, 25},
      {2, {3, 1}, {0, 0}, 1, 0},      {8, {0, 0}, {100, 7}, 12, 0}, {1, {0, 0}, {5, 7}, 10, 14, 2},
      {1, {0, 0}, {5, 7}, 20, 28, 4},
  };
  host.SetClientSize({50, 40});
  const Color3 sentinel{1, 2, 3};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "scale " << c.scale << "/" << c.reduction << " point "
                                    << c.point.x << "," << c.point.y);
    view.m_nScale = c.scale;
    view.m_nReduction = c.reduction;
    SetPicture(60, 60, picture);
    view.ScrollToPosition(c.pos);
    ASSERT_EQ(view.GetScrollPosition(), c.pos);
    doc.m_curColor = sentinel;
    const int invalidates = host.InvalidateCount();
    const Picture before = PictureOfBlock(doc.m_hDib);
    view.OnRButtonDown(MK_RBUTTON, c.point);
    EXPECT_EQ(doc.m_curColor, c.y == 0 ? sentinel : picture(c.x, c.y));
    EXPECT_EQ(host.InvalidateCount(), invalidates);
    EXPECT_EQ(PictureOfBlock(doc.m_hDib), before);
    EXPECT_FALSE(doc.IsModified());
  }
}

}  // namespace
}  // namespace qov::test
