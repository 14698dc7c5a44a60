// The display scale: the scroll range, the picture kept at the centre on a
// scale change, fitting, zoom and scrolling keys, the check marks, and the
// commands' availability.

#include "res/Resource.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

struct Scale {
  int scale, reduction;
};

struct ScaleCommand {
  UINT id;
  Scale shown;
};

const ScaleCommand kScaleCommands[] = {{ID_SCALE_1, {1, 1}},     {ID_SCALE_2, {2, 1}},
                                       {ID_SCALE_4, {4, 1}},     {ID_SCALE_8, {8, 1}},
                                       {ID_SCALE_HALF, {1, 2}},  {ID_SCALE_QUARTER, {1, 4}},
                                       {ID_SCALE_EIGHTH, {1, 8}}};

// The scroll range of a picture at `s`: a last partial block of a
// reduction still takes a device pixel.
CSize Extent(std::int64_t width, std::int64_t height, Scale s) {
  return {(width * s.scale + s.reduction - 1) / s.reduction,
          (height * s.scale + s.reduction - 1) / s.reduction};
}

class ScaleTest : public ViewTest {
 public:
  // Only the header is read to size the range, so a header alone stands for
  // a picture too large to allocate here.
  void SetSheet(std::int64_t width, std::int64_t height) {
    DibFields header = Fields24(PictureOf(1, 1, Uniform(kWhite)));
    header.width = static_cast<std::int32_t>(width);
    header.height = static_cast<std::int32_t>(height);
    doc.ReplaceDib(BlockOf(MakeDib(header)));
    view.OnInitialUpdate();
  }
};

TEST_F(ScaleTest, ScrollRangeIsThePictureSizeAtTheScale) {
  SetPicture(100, 50, Uniform(kWhite));
  EXPECT_EQ(view.GetTotalSize(), (CSize{100, 50}));
  EXPECT_EQ(view.GetMapMode(), MM_TEXT);
  for (const ScaleCommand& command : kScaleCommands) {
    SCOPED_TRACE(command.id);
    ASSERT_TRUE(Run(command.id));
    EXPECT_EQ(view.m_nScale, command.shown.scale);
    EXPECT_EQ(view.m_nReduction, command.shown.reduction);
    EXPECT_EQ(view.GetTotalSize(), Extent(100, 50, command.shown));
  }
  EXPECT_EQ(view.GetTotalSize(), (CSize{13, 7}));
}

// The picture point at the centre of the window stays there (multiplying
// first), as far as the new scroll range allows.
TEST_F(ScaleTest, ScaleChangeKeepsThePictureAtTheCentreOfTheWindow) {
  struct Case {
    std::int64_t width, height;
    CSize client;
    Scale from;
    CPoint pos;
    Scale to;
    CPoint expected;
  };
  const Case cases[] = {
      {1000, 1000, {100, 100}, {1, 1}, {450, 450}, {2, 1}, {950, 950}},
      {1000, 1000, {100, 100}, {2, 1}, {950, 950}, {1, 1}, {450, 450}},
      {1000, 1000, {100, 100}, {1, 1}, {450, 450}, {1, 2}, {200, 200}},
      {1000, 1000, {100, 100}, {1, 1}, {900, 900}, {1, 4}, {150, 150}},
      {1000, 1000, {100, 100}, {8, 1}, {0, 0}, {1, 1}, {0, 0}},
      {300, 200, {101, 51}, {4, 1}, {600, 300}, {1, 2}, {31, 15}},
      {8000, 8000, {200, 100}, {1, 2}, {1000, 500}, {1, 8}, {175, 87}},
      {8000, 8000, {200, 100}, {1, 8}, {175, 87}, {8, 1}, {17500, 8718}},
      {10, 10, {100, 100}, {1, 1}, {0, 0}, {8, 1}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.from.scale << "/" << c.from.reduction << " to " << c.to.scale << "/"
                 << c.to.reduction << " at " << c.pos.x << "," << c.pos.y);
    host.SetClientSize(c.client);
    view.m_nScale = c.from.scale;
    view.m_nReduction = c.from.reduction;
    SetSheet(c.width, c.height);
    view.ScrollToPosition(c.pos);
    ASSERT_EQ(view.GetScrollPosition(), c.pos);
    const int invalidates = host.InvalidateCount();
    view.SetDisplayScale(c.to.scale, c.to.reduction);
    EXPECT_EQ(view.GetScrollPosition(), c.expected);
    EXPECT_EQ(view.GetTotalSize(), Extent(c.width, c.height, c.to));
    EXPECT_GT(host.InvalidateCount(), invalidates);
  }
}

// The largest of ×8 .. ×1 that shows the whole picture, else the least
// whole reduction that does.
TEST_F(ScaleTest, FitShowsTheWholePictureInTheWindow) {
  struct Case {
    std::int64_t width, height;
    CSize client;
    Scale expected;
  };
  const Case cases[] = {
      {100, 50, {640, 480}, {4, 1}},       {640, 480, {640, 480}, {1, 1}},
      {641, 480, {640, 480}, {1, 2}},      {640, 1441, {640, 480}, {1, 4}},
      {13244, 18724, {800, 600}, {1, 32}}, {5, 5, {640, 480}, {8, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    host.SetClientSize(c.client);
    SetSheet(c.width, c.height);
    view.SetScale(1);
    ASSERT_TRUE(Run(ID_SCALE_FIT));
    EXPECT_EQ(view.m_nScale, c.expected.scale);
    EXPECT_EQ(view.m_nReduction, c.expected.reduction);
    EXPECT_EQ(view.GetTotalSize(), Extent(c.width, c.height, c.expected));
  }
  doc.ReplaceDib(nullptr);
  view.SetScale(2);
  ASSERT_TRUE(Run(ID_SCALE_FIT));
  EXPECT_EQ(view.m_nScale, 2);
}

TEST_F(ScaleTest, ZoomKeysStepAlongThePowersOfTwo) {
  struct Case {
    Scale from, in, out;
  };
  const Case cases[] = {
      {{1, 1}, {2, 1}, {1, 2}}, {{8, 1}, {8, 1}, {4, 1}},    {{1, 2}, {1, 1}, {1, 4}},
      {{1, 3}, {1, 2}, {1, 4}}, {{1, 24}, {1, 16}, {1, 32}}, {{1, 64}, {1, 32}, {1, 64}},
  };
  SetPicture(100, 100, Uniform(kWhite));
  for (const Case& c : cases) {
    for (const auto& [id, expected] :
         {std::pair{ID_ZOOM_IN, c.in}, std::pair{ID_ZOOM_OUT, c.out}}) {
      SCOPED_TRACE(testing::Message() << c.from.scale << "/" << c.from.reduction << " "
                                      << (id == ID_ZOOM_IN ? "in" : "out"));
      view.SetDisplayScale(c.from.scale, c.from.reduction);
      ASSERT_TRUE(Run(id));
      EXPECT_EQ(view.m_nScale, expected.scale);
      EXPECT_EQ(view.m_nReduction, expected.reduction);
    }
  }
}

TEST_F(ScaleTest, ScrollKeysGoToTheEdges) {
  host.SetClientSize({100, 100});
  SetPicture(1000, 800, Uniform(kWhite));
  const std::pair<UINT, CPoint> cases[] = {{ID_SCROLL_HOME, {0, 200}},
                                           {ID_SCROLL_END, {900, 200}},
                                           {ID_SCROLL_TOP_LEFT, {0, 0}},
                                           {ID_SCROLL_BOTTOM_RIGHT, {900, 700}}};
  for (const auto& [id, expected] : cases) {
    SCOPED_TRACE(id);
    view.ScrollToPosition({300, 200});
    ASSERT_TRUE(Run(id));
    EXPECT_EQ(view.GetScrollPosition(), expected);
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
            << "item " << item.id << " after choosing " << chosen.id;
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

TEST_F(ScaleTest, HugeRangeIsLimitedInsteadOfWrapping) {
  SetSheet(400'000'000, 300'000'000);
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
