// The headless backend's clipboard, message boxes and file dialogs, reached
// through the platform's public calls.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/FileDialog.h"
#include "platform/GlobalMemory.h"
#include "platform/MessageBox.h"
#include "platform/headless/HeadlessBackend.h"
#include "tests/platform/FakeResources.h"
#include "tests/support/Bitmap.h"

namespace qov {
namespace {

class HeadlessBackendTest : public ::testing::Test {
 protected:
  HeadlessBackend& backend() { return platform.backend(); }
  ScopedHeadlessPlatform platform;
  test::ScopedFakeResources resources;
};

// Blocks the clipboard let go of are freed; the leak checker of the
// sanitizer build sees any that are not, and any freed twice.
TEST_F(HeadlessBackendTest, ClipboardTakesOwnershipAndEmptyingFreesIt) {
  HGLOBAL first = test::BlockOf(test::Bytes(16, 1)).release();
  {
    CClipboardScope clip(nullptr);
    ASSERT_TRUE(clip.IsOpen());
    EXPECT_TRUE(backend().IsClipboardOpen());
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_TRUE(SetClipboardData(CF_DIB, CGlobalOwner(first)));
  }
  EXPECT_FALSE(backend().IsClipboardOpen());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(backend().PeekClipboardData(CF_DIB), first);

  // Replacing the data of a format frees the block it held.
  HGLOBAL second = test::BlockOf(test::Bytes(8, 2)).release();
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(SetClipboardData(CF_DIB, CGlobalOwner(second)));
  EXPECT_EQ(GetClipboardData(CF_DIB), second);
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
  EXPECT_TRUE(CloseClipboard());
}

TEST_F(HeadlessBackendTest, ClosedClipboardRefusesEverything) {
  backend().PutClipboardData(CF_DIB, test::BlockOf(test::Bytes(4, 3)));
  EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_FALSE(CloseClipboard());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));

  // A refused handover leaves the block with the caller.
  CGlobalOwner mine = test::BlockOf(test::Bytes(4, 4));
  EXPECT_FALSE(SetClipboardData(CF_DIB, std::move(mine)));
  EXPECT_TRUE(mine);
  EXPECT_NE(backend().PeekClipboardData(CF_DIB), mine.get());
}

TEST_F(HeadlessBackendTest, ClipboardHeldByAnotherOwnerCannotBeOpened) {
  backend().SetClipboardRefused(true);
  {
    CClipboardScope clip(nullptr);
    EXPECT_FALSE(clip.IsOpen());
  }
  backend().SetClipboardRefused(false);
  CClipboardScope clip(nullptr);
  EXPECT_TRUE(clip.IsOpen());
  EXPECT_FALSE(OpenClipboard(nullptr));
  clip.Close();
  EXPECT_FALSE(backend().IsClipboardOpen());
}

TEST_F(HeadlessBackendTest, ForeignDataReplacesAndClearFrees) {
  backend().PutClipboardData(CF_DIB, test::BlockOf(test::Bytes(4, 5)));
  CGlobalOwner foreign = test::BlockOf(test::Bytes(4, 6));
  const HGLOBAL held = foreign.get();
  backend().PutClipboardData(CF_DIB, std::move(foreign));
  EXPECT_EQ(backend().PeekClipboardData(CF_DIB), held);
  backend().PutClipboardData(CF_TEXT, test::BlockOf(test::Bytes(2, 7)));
  backend().PutClipboardData(CF_TEXT, nullptr);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  backend().ClearClipboard();
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
  // What is left at the end is the backend's to free.
  backend().PutClipboardData(CF_DIB, test::BlockOf(test::Bytes(4, 8)));
}

TEST_F(HeadlessBackendTest, MessageBoxesAreCaptionedRecordedAndAnswered) {
  backend().QueueMessageBoxAnswer(IDNO);
  EXPECT_EQ(AfxMessageBox("first", MB_YESNOCANCEL), IDNO);
  EXPECT_EQ(AfxMessageBox("second"), IDOK);
  ASSERT_EQ(backend().Messages().size(), 2u);
  EXPECT_EQ(backend().Messages()[0].caption, test::kFakeAppTitle);
  EXPECT_EQ(backend().Messages()[0].type, MB_YESNOCANCEL);
  EXPECT_EQ(backend().Messages()[1].type, MB_OK);
}

TEST(FileDialog, FilterStringSplitsIntoDescriptionPatternPairs) {
  using Pairs = std::vector<std::pair<std::string, std::string>>;
  struct Case {
    const char* filter;
    Pairs want;
  };
  const Case cases[] = {
      {"TXTファイル(*.TXT)|*.TXT||", {{"TXTファイル(*.TXT)", "*.TXT"}}},
      {"A|*.a|B|*.b;*.c||", {{"A", "*.a"}, {"B", "*.b;*.c"}}},
      {"A|*.a", {{"A", "*.a"}}},
      {"A||B|*.b||", {}},
      {"|*.a||", {}},
      {"", {}},
      {nullptr, {}},
  };
  for (const Case& c : cases) {
    CFileDialog dlg(false, nullptr, nullptr, OFN_OVERWRITEPROMPT, c.filter);
    EXPECT_EQ(dlg.GetFilters(), c.want) << (c.filter ? c.filter : "(null)");
  }
}

TEST_F(HeadlessBackendTest, FileDialogsAreRecordedAndAnsweredFromTheQueue) {
  backend().QueueFileDialog("/tmp/picture.TXT");
  CFileDialog save(false, ".TXT", "QOV.TXT", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                   "TXTファイル(*.TXT)|*.TXT||");
  EXPECT_EQ(save.DoModal(), IDOK);
  EXPECT_EQ(save.GetPathName(), "/tmp/picture.TXT");

  backend().QueueFileDialog(std::nullopt);
  CFileDialog open(true, "bmp");
  EXPECT_EQ(open.DoModal(), IDCANCEL);
  CFileDialog unqueued(true);
  EXPECT_EQ(unqueued.DoModal(), IDCANCEL);
  EXPECT_EQ(unqueued.GetPathName(), "");

  const auto& shown = backend().FileDialogs();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_FALSE(shown[0].open);
  EXPECT_EQ(shown[0].defExt, "TXT");
  EXPECT_EQ(shown[0].fileName, "QOV.TXT");
  EXPECT_EQ(shown[0].flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
  EXPECT_EQ(shown[0].filters.size(), 1u);
  EXPECT_TRUE(shown[1].open);
  EXPECT_EQ(shown[1].defExt, "bmp");
}

}  // namespace
}  // namespace qov
