// A long command the user stops leaves everything as it was: the picture,
// its modified flag, and the file it was writing, whether one was there
// before or not.

#include <filesystem>

#include "image/DibFile.h"
#include "platform/Progress.h"
#include "tests/export/TestSupport.h"

namespace qov::test {
namespace {

constexpr auto kCancelled = CCommandResult::cancelled;

// Strokes, a filled block and a grey patch over 48 × 40 pixels: something for
// every command to change or write.
Color3 Drawing(std::int64_t x, std::int64_t y) {
  if (y == 5 || x == 6 || x == y)
    return kBlack;
  if (x >= 20 && x < 30 && y >= 20 && y < 32)
    return kBlack;
  if (x >= 34 && y >= 8 && y < 16)
    return kDarkGray;
  return kWhite;
}

struct Command {
  const char* name;
  UINT id;
  bool dialog;  // a dialog of options, answered with OK, comes first
  bool file;    // then the file dialog, answered with the output's name
};

const Command kCommands[] = {
    {"threshold and outline", ID_BINARIZE, true, false},
    {"dither 1", ID_DITHER1, false, false},
    {"dither 2", ID_DITHER2, false, false},
    {"error diffusion", ID_ERROR_DIFFUSION, false, false},
    {"outline", ID_OUTLINE, false, false},
    {"dots to crosses", ID_DOTS_TO_CROSSES, false, true},
    {"dots to lines", ID_DOTS_TO_LINES, false, true},
    {"auto trace", ID_AUTO_TRACE, false, true},
    {"VectorScript", ID_SAVE_VECTORSCRIPT, true, true},
    {"vectorize", ID_VECTORIZE, true, true},
};

class CancelTest : public ViewTest {
 protected:
  // Runs `c` on a fresh, unmodified picture, stopped at step `cancelAt` (0:
  // not stopped); the output file, when there is one, held "old" before.
  CCommandResult::Status RunCommand(const Command& c, int cancelAt) {
    SetPicture(48, 40, Drawing);
    doc.SetModifiedFlag(false);
    WriteFileBytes(output, "old");
    if (c.dialog) {
      backend().QueueDialog([](CDialog& dlg) {
        if (dlg.GetTemplateId() == IDD_THRESHOLD)
          dlg.UserClick(IDC_CHECK_OUTLINE);
        dlg.UserClick(IDOK);
      });
    }
    if (c.file)
      backend().QueueFileDialog(output);
    backend().CancelAtStep(cancelAt);
    return RunStatus(c.id);
  }

  TempDir dir;
  const std::string output = dir.File("out.txt");
};

TEST_F(CancelTest, EveryCommandReportsAndACancelAnywhereChangesNothing) {
  const std::vector<std::string> before = RowsOf(*MakeDoc(48, 40, Drawing));
  for (const Command& c : kCommands) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(RunCommand(c, 0), CCommandResult::done);
    const int steps = backend().ProgressSteps();
    ASSERT_GT(steps, 1) << "a command that walks the picture reports its steps";
    for (int at : {1, steps / 2, steps}) {
      SCOPED_TRACE(at);
      EXPECT_EQ(RunCommand(c, at), kCancelled);
      EXPECT_EQ(RowsOf(doc), before);
      EXPECT_FALSE(doc.IsModified());
      EXPECT_EQ(ReadFileBytes(output), "old");
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
          << "no partial file is left beside the output";
      EXPECT_EQ(backend().WaitCursorDepth(), 0);
      EXPECT_TRUE(backend().Messages().empty());
    }
  }
}

TEST_F(CancelTest, AStoppedOpenOrSaveLeavesThePictureAndTheFile) {
  const std::string picture = dir.File("picture.bmp");
  SetPicture(48, 40, Drawing);
  ASSERT_TRUE(doc.OnSaveDocument(picture));
  const std::string saved = ReadFileBytes(picture);
  SetPicture(8, 6, Uniform(kDarkGray));
  const std::vector<std::string> before = RowsOf(doc);
  backend().CancelAtStep(1);
  {
    const CCommandProgress progress;
    EXPECT_THROW(doc.OnOpenDocument(picture), CUserException);
  }
  EXPECT_EQ(RowsOf(doc), before);
  {
    const CCommandProgress progress;
    EXPECT_THROW(doc.OnSaveDocument(picture), CUserException);
  }
  EXPECT_EQ(ReadFileBytes(picture), saved);
}

}  // namespace
}  // namespace qov::test
