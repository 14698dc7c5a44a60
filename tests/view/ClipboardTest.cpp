// Copy and paste: the copy on the clipboard, the paste of a bitmap in
// another program's layout (every layout is the converter's own test), and
// of garbage, which changes nothing.

#include <random>
#include <string>

#include "platform/Clipboard.h"
#include "res/Resource.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

// 3 × 2 (odd, so rows are padded) in 8-bit colour indices, as another
// program may place it on the clipboard.
const Picture kPasted = MakePicture({{kRed, kGreen, kBlue}, {kDarkGray, kRed, kGreen}});

DibFields PastedFields() {
  DibFields fields;
  fields.width = 3;
  fields.height = 2;
  fields.bitCount = 8;
  fields.clrUsed = 4;
  fields.colorTable = {kRed, kGreen, kBlue, kDarkGray};
  fields.pixels = PackRows(8, {{0, 1, 2}, {3, 0, 1}});
  return fields;
}

// A different colour at every pixel.
Color3 Varied(std::int64_t x, std::int64_t y) {
  return {static_cast<std::uint8_t>(x * 40 + y), static_cast<std::uint8_t>(100 + y * 50),
          static_cast<std::uint8_t>(255 - x * 30)};
}

class ClipboardTest : public ViewTest {};

TEST_F(ClipboardTest, CopyPlacesADuplicateOfThePicture) {
  SetPicture(7, 4, Varied);
  ASSERT_TRUE(Run(ID_EDIT_COPY));
  const HGLOBAL copy = backend().PeekClipboardData(CF_DIB);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, doc.m_hDib);
  EXPECT_EQ(PictureOfBlock(copy), PictureOfBlock(doc.m_hDib));
  EXPECT_FALSE(backend().IsClipboardOpen());
  EXPECT_EQ(backend().WaitCursorDepth(), 0);
  EXPECT_GT(backend().WaitCursorBegins(), 0);
}

TEST_F(ClipboardTest, CopyIsRefusedWithoutPicture) {
  backend().PutClipboardData(CF_DIB, MakeDib24(2, 2, Uniform(kBlack)));
  EXPECT_FALSE(Run(ID_EDIT_COPY));
  EXPECT_NE(backend().PeekClipboardData(CF_DIB), nullptr);
}

TEST_F(ClipboardTest, PasteAdoptsTheConvertedPicture) {
  SetPicture(2, 2, Uniform(kBlack));
  doc.SetModifiedFlag(false);
  view.m_nScale = 4;
  backend().PutClipboardData(CF_DIB, BlockOf(MakeDib(PastedFields())));
  const int invalidates = host.InvalidateCount();
  ASSERT_TRUE(Run(ID_EDIT_PASTE));
  EXPECT_TRUE(SamePicture(PictureOfBlock(doc.m_hDib), kPasted));
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(view.GetTotalSize(), (CSize{3 * 4, 2 * 4}));
  EXPECT_GT(host.InvalidateCount(), invalidates);
  // The clipboard keeps its own block.
  EXPECT_NE(backend().PeekClipboardData(CF_DIB), doc.m_hDib);
  EXPECT_NE(backend().PeekClipboardData(CF_DIB), nullptr);
}

// Undo takes the window's own copy back without copying it again; the next
// command writes into it only once the clipboard has let it go.
TEST_F(ClipboardTest, UndoSharesTheUndoCopyAndTheNextCommandGetsItsOwn) {
  SetPicture(7, 4, Varied);
  const Picture original = PictureOfBlock(doc.m_hDib);
  ASSERT_TRUE(Run(ID_DITHER1));
  const HGLOBAL undo = backend().PeekClipboardData(CF_DIB);
  ASSERT_TRUE(Run(ID_EDIT_UNDO));
  EXPECT_EQ(doc.m_hDib, undo);
  EXPECT_TRUE(GlobalIsShared(doc.m_hDib));
  EXPECT_EQ(PictureOfBlock(doc.m_hDib), original);
  ASSERT_TRUE(Run(ID_DITHER2));
  EXPECT_FALSE(GlobalIsShared(doc.m_hDib));
  EXPECT_EQ(PictureOfBlock(backend().PeekClipboardData(CF_DIB)), original);
  ASSERT_TRUE(Run(ID_EDIT_UNDO));
  EXPECT_EQ(PictureOfBlock(doc.m_hDib), original);
}

// Every raster command stays inside a pasted picture (under the sanitizers
// a read or write outside the block fails here).
TEST_F(ClipboardTest, PastedPictureTakesEveryCommand) {
  for (const UINT command : {ID_DITHER1, ID_DITHER2, ID_ERROR_DIFFUSION, ID_OUTLINE}) {
    SCOPED_TRACE(command);
    backend().PutClipboardData(CF_DIB, BlockOf(MakeDib(PastedFields())));
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    ASSERT_TRUE(Run(command));
    ASSERT_TRUE(RunThreshold(50, true));
    EXPECT_EQ(PictureOfBlock(doc.m_hDib).width, 3);
    EXPECT_EQ(PictureOfBlock(doc.m_hDib).height, 2);
  }
}

// Whatever the converter refuses.
std::vector<std::pair<std::string, Bytes>> GarbageCases() {
  Bytes huge = MakeDib(PastedFields());
  huge[4] = huge[8] = 0xFF;  // 255 × 255 claimed, 6 pixels held
  std::vector<std::pair<std::string, Bytes>> cases{{"one byte", {40}},
                                                   {"huge size, little data", huge}};
  std::mt19937 random(7);
  for (const std::size_t size : {std::size_t{16}, std::size_t{64}, std::size_t{500}}) {
    Bytes bytes(size);
    for (auto& b : bytes)
      b = static_cast<std::uint8_t>(random());
    bytes[0] = 40;
    bytes[1] = bytes[2] = bytes[3] = 0;
    cases.emplace_back("random behind a 40-byte header size " + std::to_string(size), bytes);
  }
  return cases;
}
TEST_F(ClipboardTest, PasteOfGarbageChangesNothing) {
  for (const auto& [name, bytes] : GarbageCases()) {
    SCOPED_TRACE(name);
    SetPicture(3, 2, Varied);
    const HGLOBAL picture = doc.m_hDib;
    const Picture before = PictureOfBlock(picture);
    const CSize total = view.GetTotalSize();
    doc.SetModifiedFlag(false);
    backend().PutClipboardData(CF_DIB, BlockOf(bytes));
    const int invalidates = host.InvalidateCount();
    Run(ID_EDIT_PASTE);
    EXPECT_EQ(doc.m_hDib, picture);
    EXPECT_EQ(PictureOfBlock(doc.m_hDib), before);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view.GetTotalSize(), total);
    EXPECT_EQ(host.InvalidateCount(), invalidates);
    EXPECT_TRUE(backend().Messages().empty());
    EXPECT_FALSE(backend().IsClipboardOpen());
    EXPECT_EQ(backend().WaitCursorDepth(), 0);
  }
}

TEST_F(ClipboardTest, RefusedClipboardIsASilentNoOp) {
  SetPicture(3, 2, Varied);
  const Picture before = PictureOfBlock(doc.m_hDib);
  backend().PutClipboardData(CF_DIB, MakeDib24(4, 4, Uniform(kBlack)));
  backend().SetClipboardRefused(true);
  ASSERT_TRUE(Run(ID_EDIT_PASTE));
  EXPECT_EQ(PictureOfBlock(doc.m_hDib), before);
  ASSERT_TRUE(Run(ID_EDIT_COPY));
  EXPECT_EQ(PictureOfBlock(backend().PeekClipboardData(CF_DIB)).width, 4);
  EXPECT_TRUE(backend().Messages().empty());
  EXPECT_EQ(backend().WaitCursorBegins(), 0);
}

}  // namespace
}  // namespace qov::test
