// The display scale: the scroll range, the scroll position kept on a scale
// change, the check marks, and the commands' availability.

#include "res/Resource.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

struct ScaleCommand {
  UINT id;
  int scale;
};

const ScaleCommand kScaleCommands[] = {
    {ID_SCALE_1, 1}, {ID_SCALE_2, 2}, {ID_SCALE_4, 4}, {ID_SCALE_8, 8}};

class ScaleTest : public ViewTest {};

TEST_F(ScaleTest, ScrollRangeIsThePictureSizeTimesTheScale) {
  SetPicture(100, 50, Uniform(kWhite));
  EXPECT_EQ(view.GetTotalSize(), (CSize{100, 50}));
  EXPECT_EQ(view.GetMapMode(), MM_TEXT);
  for (const ScaleCommand& command : kScaleCommands) {
    SCOPED_TRACE(command.scale);
    ASSERT_TRUE(Run(command.id));
    EXPECT_EQ(view.m_nScale, command.scale);
    EXPECT_EQ(view.GetTotalSize(), (CSize{100 * command.scale, 50 * command.scale}));
  }
}

// The position is scaled (multiplying first), then limited to the range of
// the old scale, which is still in force when the view scrolls.
TEST_F(ScaleTest, ScaleChangeKeepsTheScrollPositionWithinTheOldRange) {
  struct Case {
    std::int64_t width, height;
    CSize client;
    int from;
    CPoint pos;
    int to;
    CPoint expected;
  };
  const Case cases[] = {
      {100, 50, {50, 20}, 1, {30, 10}, 2, {50, 20}},
      {100, 50, {50, 20}, 2, {60, 20}, 1, {30, 10}},
      {1000, 1000, {100, 100}, 1, {500, 250}, 8, {900, 900}},
      {1000, 1000, {100, 100}, 8, {4000, 2000}, 4, {2000, 1000}},
      {1000, 1000, {100, 100}, 4, {3, 5}, 2, {1, 2}},
      {1000, 1000, {100, 100}, 2, {7, 9}, 8, {28, 36}},
      {10, 10, {100, 100}, 1, {0, 0}, 8, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.from << " to " << c.to << " at " << c.pos.x << "," << c.pos.y);
    host.SetClientSize(c.client);
    view.m_nScale = c.from;
    SetPicture(c.width, c.height, Uniform(kWhite));
    view.ScrollToPosition(c.pos);
    ASSERT_EQ(view.GetScrollPosition(), c.pos);
    const int invalidates = host.InvalidateCount();
    view.SetScale(c.to);
    EXPECT_EQ(view.GetScrollPosition(), c.expected);
    EXPECT_EQ(view.GetTotalSize(), (CSize{c.width * c.to, c.height * c.to}));
    EXPECT_GT(host.InvalidateCount(), invalidates);
  }
}

TEST_F(ScaleTest, CheckMarkFollowsTheScaleWithOrWithoutPicture) {
  for (const bool picture : {false, true}) {
    SCOPED_TRACE(picture ? "with picture" : "without picture");
    if (picture)
      SetPicture(5, 5, Uniform(kWhite));
    for (const ScaleCommand& chosen : kScaleCommands) {
      ASSERT_TRUE(Run(chosen.id));
      for (const ScaleCommand& item : kScaleCommands) {
        CCmdUI ui(item.id);
        UpdateCommandUI(view, ui);
        EXPECT_TRUE(ui.m_bEnabled);
        EXPECT_EQ(ui.m_nCheck, item.id == chosen.id ? 1 : 0)
            << "item " << item.scale << " after choosing " << chosen.scale;
      }
    }
  }
}

TEST_F(ScaleTest, WithoutPictureInitialUpdateLeavesTheScrollSizes) {
  view.SetScrollSizes(MM_TEXT, {123, 45});
  view.OnInitialUpdate();
  EXPECT_EQ(view.GetTotalSize(), (CSize{123, 45}));
  ASSERT_TRUE(Run(ID_SCALE_4));
  EXPECT_EQ(view.GetTotalSize(), (CSize{123, 45}));
}

// Only the header is read to size the range, so a header alone stands for a
// picture too large to allocate here.
TEST_F(ScaleTest, HugeRangeIsLimitedInsteadOfWrapping) {
  DibFields header = Fields24(PictureOf(1, 1, Uniform(kWhite)));
  header.width = 400'000'000;
  header.height = 300'000'000;
  doc.ReplaceDib(BlockOf(MakeDib(header)));
  view.SetScale(8);
  EXPECT_EQ(view.GetTotalSize(),
            (CSize{CScrollView::kMaxScrollExtent, CScrollView::kMaxScrollExtent}));
  view.SetScale(1);
  EXPECT_EQ(view.GetTotalSize(), (CSize{400'000'000, 300'000'000}));
  doc.ReplaceDib(MakeDib24(1, 1, Uniform(kWhite)));
}

TEST_F(ScaleTest, ToolCommandsAreAlwaysEnabledAndCopyOnlyWithAPicture) {
  const UINT alwaysEnabled[] = {ID_OUTLINE,           ID_DOTS_TO_CROSSES, ID_DOTS_TO_LINES,
                                ID_BINARIZE,          ID_BINARIZE_HIDDEN, ID_DITHER1,
                                ID_DITHER2,           ID_ERROR_DIFFUSION, ID_AUTO_TRACE,
                                ID_SAVE_VECTORSCRIPT, ID_EDIT_PASTE,      ID_EDIT_UNDO};
  for (const bool picture : {false, true}) {
    SCOPED_TRACE(picture ? "with picture" : "without picture");
    if (picture)
      SetPicture(3, 3, Uniform(kWhite));
    for (const UINT id : alwaysEnabled) {
      CCmdUI ui(id);
      UpdateCommandUI(view, ui);
      EXPECT_TRUE(ui.m_bEnabled) << id;
    }
    CCmdUI copy(ID_EDIT_COPY);
    UpdateCommandUI(view, copy);
    EXPECT_EQ(copy.m_bEnabled, picture);
  }
  // Cut has no handler anywhere: always disabled.
  CCmdUI cut(ID_EDIT_CUT);
  UpdateCommandUI(view, cut);
  EXPECT_FALSE(cut.m_bEnabled);
}

}  // namespace
}  // namespace qov::test
