// What a command lets escape is caught at the command boundary: the
// framework's message is shown, and the wait cursor, the clipboard and the
// mouse capture are not left behind.

#include <new>
#include <stdexcept>

#include "platform/Clipboard.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

// A clipboard that runs out of memory when a bitmap is put on it or taken
// off it, as a copy of a very large picture would.
class OutOfMemoryClipboard : public HeadlessBackend {
 public:
  HGLOBAL GetClipboardData(UINT) override { throw std::bad_alloc(); }
  bool SetClipboardData(UINT, CGlobalOwner&&) override { throw std::bad_alloc(); }
};

class CommandBoundaryTest : public ViewTest {
 public:
  CommandBoundaryTest() : m_previous(SetPlatformBackend(&failing)) {}
  ~CommandBoundaryTest() override { SetPlatformBackend(m_previous); }

  OutOfMemoryClipboard failing;

 private:
  IPlatformBackend* m_previous;
};

TEST_F(CommandBoundaryTest, FailureInsideACommandReleasesEverythingAndIsReported) {
  struct Case {
    const char* name;
    UINT command;
  };
  const Case cases[] = {
      {"paste", ID_EDIT_PASTE}, {"undo", ID_EDIT_UNDO},   {"copy", ID_EDIT_COPY},
      {"dither 1", ID_DITHER1}, {"dither 2", ID_DITHER2}, {"error diffusion", ID_ERROR_DIFFUSION},
      {"outline", ID_OUTLINE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetPicture(4, 4, Uniform({1, 2, 3}));
    view.OnLButtonDown(MK_LBUTTON, {1, 1});
    failing.ClearMessages();
    EXPECT_FALSE(Run(c.command));
    ASSERT_EQ(failing.Messages().size(), 1u);
    EXPECT_EQ(failing.Messages()[0].text, text::kOutOfMemory);
    EXPECT_EQ(failing.WaitCursorDepth(), 0);
    EXPECT_GT(failing.WaitCursorBegins(), 0);
    EXPECT_FALSE(failing.IsClipboardOpen());
    // The drag in progress still owns the mouse, and its release frees it.
    EXPECT_TRUE(view.HasCapture());
    view.OnLButtonUp(0, {1, 1});
    EXPECT_FALSE(view.HasCapture());
  }
}

TEST_F(CommandBoundaryTest, FailureInsideTheThresholdDialogIsReported) {
  SetPicture(4, 4, Uniform({1, 2, 3}));
  const Picture before = PictureOfBlock(doc.m_hDib);
  failing.QueueDialog([](CDialog&) { throw std::runtime_error("the dialog broke"); });
  EXPECT_FALSE(Run(ID_BINARIZE));
  ASSERT_EQ(failing.Messages().size(), 1u);
  EXPECT_EQ(failing.Messages()[0].text, text::kCommandFailed);
  EXPECT_EQ(failing.WaitCursorDepth(), 0);
  EXPECT_EQ(PictureOfBlock(doc.m_hDib), before);
}

}  // namespace
}  // namespace qov::test
