// The view's link to its document and host, and the scrolling view's sizes,
// position and device origin.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/Document.h"
#include "platform/View.h"
#include "platform/headless/HeadlessView.h"
#include "tests/support/RecordingDC.h"

namespace qov {
namespace {

class TestScrollView : public CScrollView {
 public:
  void OnDraw(CDC* pDC) override { drawnWithOrigin = pDC->GetViewportOrg(); }
  CPoint drawnWithOrigin{-1, -1};
};

constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(View, DocumentAndViewAreLinkedBothWaysAndUnlinkedOnDestruction) {
  CDocument first;
  CDocument second;
  {
    TestScrollView view;
    view.SetDocument(&first);
    EXPECT_EQ(view.GetDocument(), &first);
    EXPECT_EQ(first.GetViews(), std::vector<CView*>{&view});

    view.SetDocument(&second);
    EXPECT_TRUE(first.GetViews().empty());
    EXPECT_EQ(second.GetViews(), std::vector<CView*>{&view});
  }
  EXPECT_TRUE(second.GetViews().empty());
}

TEST(View, InitialUpdateInvalidatesWithErase) {
  TestScrollView view;
  HeadlessViewHost host(view);
  view.OnInitialUpdate();
  EXPECT_EQ(host.InvalidateCount(), 1);
  EXPECT_TRUE(host.LastInvalidateErased());
}

TEST(View, CaptureAndClientAreaComeFromTheHost) {
  TestScrollView view;
  EXPECT_EQ(view.GetClientRect(), CRect{});
  EXPECT_FALSE(view.HasCapture());
  HeadlessViewHost host(view, {300, 200});
  EXPECT_EQ(view.GetClientRect(), (CRect{0, 0, 300, 200}));
  view.SetCapture();
  EXPECT_TRUE(view.HasCapture());
  view.ReleaseCapture();
  EXPECT_FALSE(view.HasCapture());
}

TEST(ScrollView, DefaultPageAndLineSizesAreTenthsOfAtLeastOne) {
  struct Case {
    CSize total, page, line;
    CSize wantPage, wantLine;
  };
  const Case cases[] = {
      {{400, 200}, CScrollView::sizeDefault, CScrollView::sizeDefault, {40, 20}, {4, 2}},
      {{5, 0}, CScrollView::sizeDefault, CScrollView::sizeDefault, {1, 1}, {1, 1}},
      {{400, 200}, {100, 0}, CScrollView::sizeDefault, {100, 20}, {10, 2}},
      {{400, 200}, {100, 50}, {7, 3}, {100, 50}, {7, 3}},
  };
  for (const Case& c : cases) {
    TestScrollView view;
    view.SetScrollSizes(MM_TEXT, c.total, c.page, c.line);
    EXPECT_EQ(view.GetTotalSize(), c.total);
    EXPECT_EQ(view.GetPageSize(), c.wantPage) << c.total.cx;
    EXPECT_EQ(view.GetLineSize(), c.wantLine) << c.total.cx;
    EXPECT_EQ(view.GetMapMode(), MM_TEXT);
  }
}

TEST(ScrollView, TotalSizeIsLimitedToTheToolkitRange) {
  struct Case {
    CSize total, want;
  };
  const Case cases[] = {
      {{kMax, kMax}, {kMax, kMax}},
      {{kMax + 1, 5'000'000'000}, {kMax, kMax}},
      {{std::int64_t{2'000'000'000} * 8, 3}, {kMax, 3}},
      {{-10, -1}, {0, 0}},
  };
  for (const Case& c : cases) {
    TestScrollView view;
    view.SetScrollSizes(MM_TEXT, c.total);
    EXPECT_EQ(view.GetTotalSize(), c.want) << c.total.cx;
    EXPECT_GE(view.GetPageSize().cx, 1);
    EXPECT_LE(view.GetPageSize().cx, kMax);
  }
}

TEST(ScrollView, PositionIsLimitedToTotalMinusClientOnEachAxis) {
  struct Case {
    CPoint asked, want;
  };
  // Total 1000 × 300 in a 640 × 480 client: x runs 0 .. 360, y stays 0.
  const Case cases[] = {
      {{100, 0}, {100, 0}},
      {{360, 0}, {360, 0}},
      {{361, 5}, {360, 0}},
      {{-5, -5}, {0, 0}},
      {{std::numeric_limits<std::int64_t>::max(), 1}, {360, 0}},
  };
  for (const Case& c : cases) {
    TestScrollView view;
    HeadlessViewHost host(view, {640, 480});
    view.SetScrollSizes(MM_TEXT, {1000, 300});
    view.ScrollToPosition(c.asked);
    EXPECT_EQ(view.GetScrollPosition(), c.want) << c.asked.x << "," << c.asked.y;
  }
}

TEST(ScrollView, HugePictureScrollsToTheEndOfTheLimitedRange) {
  TestScrollView view;
  HeadlessViewHost host(view, {1920, 1080});
  view.SetScrollSizes(MM_TEXT, {std::int64_t{100'000} * 100'000, 70'000});
  view.ScrollToPosition({std::int64_t{1} << 40, 70'000});
  EXPECT_EQ(view.GetScrollPosition(), (CPoint{kMax - 1920, 70'000 - 1080}));
}

TEST(ScrollView, NewSizesLimitThePositionAndNotifyTheHost) {
  TestScrollView view;
  HeadlessViewHost host(view, {640, 480});
  view.SetScrollSizes(MM_TEXT, {1000, 1000});
  EXPECT_EQ(host.ScrollStateChanges(), 1);
  view.ScrollToPosition({300, 400});
  EXPECT_EQ(host.ScrollStateChanges(), 2);
  view.ScrollToPosition({300, 400});
  EXPECT_EQ(host.ScrollStateChanges(), 2);

  view.SetScrollSizes(MM_TEXT, {700, 500});
  EXPECT_EQ(view.GetScrollPosition(), (CPoint{60, 20}));
  EXPECT_EQ(host.ScrollStateChanges(), 3);
}

TEST(ScrollView, WithoutAHostTheWholeTotalIsScrollable) {
  TestScrollView view;
  view.SetScrollSizes(MM_TEXT, {100, 50});
  view.ScrollToPosition({120, 30});
  EXPECT_EQ(view.GetScrollPosition(), (CPoint{100, 30}));
}

TEST(ScrollView, ScreenOriginFollowsTheScrollPositionButPrintingDoesNot) {
  TestScrollView view;
  HeadlessViewHost host(view, {100, 100});
  view.SetScrollSizes(MM_TEXT, {400, 400});
  view.ScrollToPosition({30, 70});

  RecordingDC screen(100, 100);
  host.Paint(screen);
  EXPECT_EQ(view.drawnWithOrigin, (CPoint{-30, -70}));

  RecordingDC printer(100, 100, /*printing=*/true);
  view.OnPrepareDC(&printer);
  EXPECT_EQ(printer.GetViewportOrg(), (CPoint{0, 0}));
}

}  // namespace
}  // namespace qov
