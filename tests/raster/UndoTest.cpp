// Undo after every picture command: the picture from before the command
// comes back byte for byte, and the document is marked modified.

#include <functional>

#include "platform/Clipboard.h"
#include "res/Resource.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

class UndoTest : public ViewTest {};

TEST_F(UndoTest, UndoRestoresThePictureFromBeforeEachCommand) {
  struct Command {
    const char* name;
    std::function<bool(UndoTest&)> run;
  };
  const Command commands[] = {
      {"binarize", [](UndoTest& t) { return t.RunThreshold(50); }},
      {"binarize with outline", [](UndoTest& t) { return t.RunThreshold(50, true); }},
      {"dither 1", [](UndoTest& t) { return t.Run(ID_DITHER1); }},
      {"dither 2", [](UndoTest& t) { return t.Run(ID_DITHER2); }},
      {"error diffusion", [](UndoTest& t) { return t.Run(ID_ERROR_DIFFUSION); }},
      {"outline", [](UndoTest& t) { return t.Run(ID_OUTLINE); }},
  };
  // Width 7: rows carry padding, which must come back too.
  const PixelFunction picture = [](std::int64_t x, std::int64_t y) {
    const auto v = static_cast<std::uint8_t>((x * 37 + y * 91) % 256);
    return (x + y) % 3 == 0 ? kBlack : Color3{v, static_cast<std::uint8_t>(255 - v), 128};
  };
  for (const Command& command : commands) {
    SCOPED_TRACE(command.name);
    SetPicture(7, 9, picture);
    const Picture before = PictureOfBlock(doc.m_hDib);
    ASSERT_TRUE(command.run(*this));
    ASSERT_NE(PictureOfBlock(doc.m_hDib), before);
    for (const UINT undo : {ID_EDIT_UNDO, ID_EDIT_UNDO, ID_EDIT_PASTE}) {
      doc.SetModifiedFlag(false);
      const int invalidates = host.InvalidateCount();
      ASSERT_TRUE(Run(undo));
      EXPECT_EQ(PictureOfBlock(doc.m_hDib), before);
      EXPECT_TRUE(doc.IsModified());
      EXPECT_GT(host.InvalidateCount(), invalidates);
    }
  }
}

TEST_F(UndoTest, UndoWithNoBitmapOnTheClipboardDoesNothing) {
  SetPicture(4, 4, Uniform({1, 2, 3}));
  const HGLOBAL picture = doc.m_hDib;
  const Picture before = PictureOfBlock(picture);
  backend().PutClipboardData(CF_TEXT, BlockOf(Bytes{'h', 'e', 'l', 'l', 'o', 0}));
  ASSERT_TRUE(Run(ID_EDIT_UNDO));
  EXPECT_EQ(doc.m_hDib, picture);
  EXPECT_EQ(PictureOfBlock(doc.m_hDib), before);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(backend().Messages().empty());
}

}  // namespace
}  // namespace qov::test
