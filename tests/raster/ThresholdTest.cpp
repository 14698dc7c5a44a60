// 単純２値化 through the command: levels, borders, the outline box, the
// clipboard copy and the cases where nothing is processed.

#include "platform/Clipboard.h"
#include "res/Resource.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

struct ThresholdCase {
  int percent;
  Color3 color;
  bool white;
};

// Only pixels with all three bytes above percent × 2.55 stay white.
const ThresholdCase kThresholdCases[] = {
    {0, {0, 5, 5}, false},        {0, {5, 5, 0}, false},         {0, {1, 1, 1}, true},
    {100, {255, 255, 255}, true}, {100, {254, 255, 255}, false}, {100, {255, 255, 254}, false},
    {20, {51, 200, 200}, false},  {20, {200, 51, 200}, false},   {20, {200, 200, 51}, false},
    {20, {52, 52, 52}, true},     {40, {102, 200, 200}, false},  {40, {103, 103, 103}, true},
    {50, {128, 128, 128}, true},  {50, {127, 255, 255}, false},  {60, {200, 153, 200}, false},
    {60, {154, 154, 154}, true},  {80, {200, 200, 204}, false},  {80, {205, 205, 205}, true},
};

class ThresholdTest : public ViewTest {};

TEST_F(ThresholdTest, PixelsBecomeWhiteOnlyAboveTheThresholdAndBordersKeepTheirColour) {
  constexpr std::int64_t kWidth = 4, kHeight = 3;
  for (const ThresholdCase& c : kThresholdCases) {
    SCOPED_TRACE(testing::Message() << "percent " << c.percent << " colour " << int{c.color[0]}
                                    << "," << int{c.color[1]} << "," << int{c.color[2]});
    SetPicture(kWidth, kHeight, Uniform(c.color));
    ASSERT_TRUE(RunThreshold(c.percent));
    for (std::int64_t y = 1; y <= kHeight; ++y) {
      for (std::int64_t x = 0; x < kWidth; ++x) {
        const bool processed = x >= 1 && y <= kHeight - 1;
        const Color3 expected = !processed ? c.color : c.white ? kWhite : kBlack;
        EXPECT_EQ(Pixel(x, y), expected) << "at " << x << "," << y;
      }
    }
  }
}

TEST_F(ThresholdTest, RunFlagsModifiedResetsScaleCopiesFirstAndRepaints) {
  const Color3 original{10, 200, 30};
  SetPicture(5, 4, Uniform(original));
  view.SetScale(4);
  const int invalidates = host.InvalidateCount();
  ASSERT_TRUE(RunThreshold(50));
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(view.m_nScale, 1);
  EXPECT_GT(host.InvalidateCount(), invalidates);
  EXPECT_EQ(backend().WaitCursorDepth(), 0);
  EXPECT_GT(backend().WaitCursorBegins(), 0);
  // The undo copy holds the picture from before the command.
  const HGLOBAL copy = backend().PeekClipboardData(CF_DIB);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(PictureOfBlock(copy), PictureOf(5, 4, Uniform(original)));
  // The last processed pixel's colour before thresholding.
  EXPECT_EQ(doc.m_curColor, original);
}

TEST_F(ThresholdTest, HiddenCommandRunsTheSameHandler) {
  SetPicture(3, 3, Uniform({100, 100, 100}));
  backend().QueueDialog([](CDialog& dlg) {
    dlg.UserMoveTrackbar(IDC_SLIDER_THRESHOLD, 20);
    dlg.UserClick(IDOK);
  });
  ASSERT_TRUE(Run(ID_BINARIZE_HIDDEN));
  EXPECT_EQ(backend().DialogsRun(), std::vector<UINT>{IDD_THRESHOLD});
  EXPECT_EQ(Pixel(1, 1), kWhite);
}

// The typed number moves the trackbar, and the trackbar is what counts.
TEST_F(ThresholdTest, TypingAfterDraggingBinarizesAtTheTypedNumber) {
  SetPicture(3, 3, Uniform({150, 150, 150}));
  backend().QueueDialog([](CDialog& dlg) {
    dlg.UserMoveTrackbar(IDC_SLIDER_THRESHOLD, 40);
    dlg.UserSetText(IDC_EDIT_THRESHOLD, "75");
    dlg.UserClick(IDOK);
  });
  ASSERT_TRUE(Run(ID_BINARIZE));
  EXPECT_EQ(Pixel(1, 1), kBlack);  // 150 is above 40 % (102) but not 75 % (191.25)
}

TEST_F(ThresholdTest, CancelOnlyResetsTheScaleAndRepaints) {
  SetPicture(4, 4, Uniform({10, 20, 30}));
  backend().PutClipboardData(CF_DIB, MakeDib24(2, 2, Uniform(kBlack)));
  view.SetScale(8);
  const Picture before = PictureOfBlock(doc.m_hDib);
  const int invalidates = host.InvalidateCount();
  backend().QueueDialog([](CDialog& dlg) { dlg.UserClick(IDCANCEL); });
  Run(ID_BINARIZE);
  EXPECT_EQ(view.m_nScale, 1);
  EXPECT_GT(host.InvalidateCount(), invalidates);
  EXPECT_EQ(PictureOfBlock(doc.m_hDib), before);
  EXPECT_EQ(PictureOfBlock(backend().PeekClipboardData(CF_DIB)).width, 2);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(ThresholdTest, WithoutPictureTheDialogOpensAndNothingElseHappens) {
  backend().PutClipboardData(CF_DIB, MakeDib24(2, 2, Uniform(kBlack)));
  view.SetScale(2);
  RunThreshold(50);
  EXPECT_EQ(backend().DialogsRun(), std::vector<UINT>{IDD_THRESHOLD});
  EXPECT_EQ(view.m_nScale, 1);
  EXPECT_NE(backend().PeekClipboardData(CF_DIB), nullptr);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(backend().WaitCursorBegins(), 0);
}

TEST_F(ThresholdTest, PictureOneWideOrHighChangesNoPixelButIsCopiedAndFlagged) {
  for (const auto& [width, height] : {std::pair{1, 5}, std::pair{5, 1}, std::pair{1, 1}}) {
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    SetPicture(width, height, Uniform({1, 2, 3}));
    doc.SetModifiedFlag(false);
    backend().ClearClipboard();
    const Picture before = PictureOfBlock(doc.m_hDib);
    ASSERT_TRUE(RunThreshold(50));
    EXPECT_EQ(PictureOfBlock(doc.m_hDib), before);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_NE(backend().PeekClipboardData(CF_DIB), nullptr);
  }
}

TEST_F(ThresholdTest, OutlineBoxAddsTheOutlinePassWithoutASecondCopy) {
  const std::vector<std::string> picture{
      ".........", ".........", "..KKKKK..", "..KKKKK..", "..KKKKK..",
      "..KKKKK..", "..KKKKK..", ".........", ".........",
  };
  SetPicture(9, 9, FromRows(picture));
  ASSERT_TRUE(RunThreshold(50, true));
  const std::vector<std::string> expected{
      ".........", ".........", "..KKKKK..", "..KgggK..", "..KgggK..",
      "..KgggK..", "..KKKKK..", ".........", ".........",
  };
  EXPECT_EQ(RowsOf(doc), expected);
  EXPECT_EQ(PictureOfBlock(backend().PeekClipboardData(CF_DIB)),
            PictureOf(9, 9, FromRows(picture)));
}

TEST_F(ThresholdTest, RefusedClipboardSkipsTheCopyButStillBinarizes) {
  SetPicture(3, 3, Uniform({200, 200, 200}));
  backend().SetClipboardRefused(true);
  ASSERT_TRUE(RunThreshold(50));
  EXPECT_EQ(Pixel(1, 1), kWhite);
  EXPECT_EQ(Pixel(2, 2), kWhite);
  EXPECT_EQ(backend().PeekClipboardData(CF_DIB), nullptr);
  EXPECT_TRUE(backend().Messages().empty());
}

}  // namespace
}  // namespace qov::test
