#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "export/AutoTrace.h"
#include "export/DotsToCrosses.h"
#include "export/DotsToLines.h"
#include "export/DxfNumber.h"
#include "export/VectorScript.h"
#include "image/DibBlock.h"
#include "platform/Clipboard.h"
#include "platform/FileDialog.h"
#include "res/Strings.h"
#include "tests/export/TestSupport.h"

namespace qov::test {
namespace {

constexpr auto kFailed = CCommandResult::failed;
constexpr auto kCancelled = CCommandResult::cancelled;

struct DxfCommand {
  UINT id;
  DxfScan scan;
  int outlineWaitCursors;  // begun before the dialog: the outline and its clipboard copy
  int exportWaitCursors;   // begun once the file is chosen
};
const DxfCommand kDxfCommands[] = {{ID_DOTS_TO_CROSSES, WriteDotsToCrosses, 0, 0},
                                   {ID_DOTS_TO_LINES, WriteDotsToLines, 0, 1},
                                   {ID_AUTO_TRACE, WriteAutoTrace, 2, 1}};

// A solid 5 × 5 square and a few loose pixels, dark grey among them.
const std::vector<std::string> kPicture = Art(R"(
    ............
    .KKKKK....G.
    .KKKKK...K..
    .KKKKK..K...
    .KKKKK......
    .KKKKK...GK.
    ............
    ....K.K.....
    ............
  )");

class ExportCommands : public ViewTest {
 protected:
  void SetUp() override { SetPicture(12, 9, FromRows(kPicture)); }

  // What the commands must not change, but for the modified flag.
  void ExpectPictureAsBefore() {
    EXPECT_EQ(RowsOf(doc), kPicture);
    EXPECT_EQ(backend().WaitCursorDepth(), 0);
  }

  // The outline of kPicture, as the auto-trace scan sees it.
  static std::unique_ptr<CQOV_V2Doc> OutlinedPicture() {
    std::vector<std::string> rows = kPicture;
    for (std::size_t y = 2; y <= 4; ++y)
      rows[y].replace(2, 3, "ggg");
    return MakeDoc(rows);
  }

  TempDir dir;
};

TEST_F(ExportCommands, WithoutPictureOnlyTheMessageIsShown) {
  doc.ReplaceDib(nullptr);
  for (UINT id : {ID_DOTS_TO_CROSSES, ID_DOTS_TO_LINES, ID_AUTO_TRACE, ID_SAVE_VECTORSCRIPT}) {
    backend().ClearMessages();
    EXPECT_EQ(RunStatus(id), kFailed) << id;
    ASSERT_EQ(backend().Messages().size(), 1u) << id;
    EXPECT_EQ(backend().Messages()[0].text, text::kNoImage);
  }
  EXPECT_TRUE(backend().FileDialogs().empty());
  EXPECT_TRUE(backend().DialogsRun().empty());
  EXPECT_EQ(backend().WaitCursorBegins(), 0);
  EXPECT_EQ(backend().PeekClipboardData(CF_DIB), nullptr);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(ExportCommands, OutlineAndDotCommandsAreEnabledWithoutPicture) {
  doc.ReplaceDib(nullptr);
  for (UINT id :
       {ID_OUTLINE, ID_DOTS_TO_CROSSES, ID_DOTS_TO_LINES, ID_AUTO_TRACE, ID_SAVE_VECTORSCRIPT}) {
    CCmdUI ui(id);
    ui.m_bEnabled = false;
    UpdateCommandUI(view, ui);
    EXPECT_TRUE(ui.m_bEnabled) << id;
  }
}

TEST_F(ExportCommands, DxfCommandsAskForADxfFileAndStopOnCancel) {
  for (const DxfCommand& c : kDxfCommands) {
    const int beginsBefore = backend().WaitCursorBegins();
    backend().QueueFileDialog(std::nullopt);
    EXPECT_EQ(RunStatus(c.id), kCancelled);
    EXPECT_EQ(backend().WaitCursorBegins() - beginsBefore, c.outlineWaitCursors);
    const auto& d = backend().FileDialogs().back();
    EXPECT_FALSE(d.open);
    EXPECT_EQ(d.defExt, "DXF");
    EXPECT_EQ(d.fileName, "QOV.DXF");
    EXPECT_EQ(d.flags, OFN_OVERWRITEPROMPT);
    EXPECT_EQ(d.filters,
              (std::vector<std::pair<std::string, std::string>>{{"DXFファイル(*.DXF)", "*.DXF"}}));
  }
  EXPECT_EQ(backend().FileDialogs().size(), 3u);
  EXPECT_TRUE(backend().Messages().empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  ExpectPictureAsBefore();
}

TEST_F(ExportCommands, DxfCommandsWriteWhatTheirScanWrites) {
  for (const DxfCommand& c : kDxfCommands) {
    const std::string path = dir.File("out.dxf");
    // An existing longer file is truncated and written anew.
    std::ofstream(path) << std::string(100000, 'x');
    const int beginsBefore = backend().WaitCursorBegins();
    backend().QueueFileDialog(path);
    EXPECT_TRUE(Run(c.id));
    auto reference = c.id == ID_AUTO_TRACE ? OutlinedPicture() : MakeDoc(kPicture);
    EXPECT_EQ(ReadFileBytes(path), WriteDxf(*reference, c.scan)) << c.id;
    EXPECT_EQ(backend().WaitCursorBegins() - beginsBefore,
              c.outlineWaitCursors + c.exportWaitCursors)
        << c.id;
    EXPECT_TRUE(backend().Messages().empty());
    ExpectPictureAsBefore();
  }
}

TEST_F(ExportCommands, FileErrorsShowTheMessageAndTouchNothingElse) {
  ASSERT_EQ(::mkdir(dir.File("folder").c_str(), 0755), 0);
  std::vector<std::string> paths{dir.File("missing/QOV.DXF"), dir.File("folder"), "/dev/full"};
  if (::geteuid() != 0) {
    ASSERT_EQ(::mkdir(dir.File("readonly").c_str(), 0555), 0);
    paths.push_back(dir.File("readonly/QOV.DXF"));
  }
  for (const std::string& path : paths) {
    for (const DxfCommand& c : kDxfCommands) {
      backend().ClearMessages();
      doc.SetModifiedFlag(false);
      backend().QueueFileDialog(path);
      EXPECT_EQ(RunStatus(c.id), kFailed) << path;
      ASSERT_EQ(backend().Messages().size(), 1u) << path;
      EXPECT_EQ(backend().Messages()[0].text, text::kFileError);
      EXPECT_EQ(doc.IsModified(), c.id == ID_AUTO_TRACE) << c.id;
      ExpectPictureAsBefore();
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("folder")));
}

TEST_F(ExportCommands, FrameEndsWaitCursorWhateverTheScanThrows) {
  const std::string path = dir.File("frame.dxf");
  std::ofstream(path) << "old";
  backend().QueueFileDialog(path);
  DxfScan failing = [](CQOV_V2Doc&, CDxfWriter& writer, std::int32_t, std::int32_t) {
    writer.WriteLine(kColourForeground, 1, 1, 2, 2, kDigitsJoin);
    throw std::runtime_error("scan failed");
  };
  EXPECT_THROW(RunDxfExport(doc, ExportWaitCursor::shown, failing), std::runtime_error);
  EXPECT_EQ(backend().WaitCursorDepth(), 0);
  EXPECT_TRUE(backend().Messages().empty());
  // The old file as it was, and nothing beside it.
  EXPECT_EQ(ReadFileBytes(path), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  backend().QueueFileDialog(path);
  DxfScan fileError = [](CQOV_V2Doc&, CDxfWriter&, std::int32_t, std::int32_t) {
    throw CFileException(CFileException::diskFull, "frame.dxf", ENOSPC);
  };
  const CCommandResult result = RunDxfExport(doc, ExportWaitCursor::shown, fileError);
  EXPECT_EQ(backend().WaitCursorDepth(), 0);
  EXPECT_EQ(result.m_status, kFailed);
  EXPECT_EQ(result.m_strMessage, text::kFileError);
  EXPECT_EQ(result.m_strReason, std::strerror(ENOSPC));
}

// Files may grow to `bytes` only; a write beyond fails as on a full disk.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &m_previous);
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, m_previous.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~ScopedFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &m_previous);
    std::signal(SIGXFSZ, m_previousHandler);
  }

 private:
  rlimit m_previous{};
  void (*m_previousHandler)(int);
};

TEST_F(ExportCommands, DiskFillingUpLeavesTheOldFileAsItWas) {
  const std::string path = dir.File("full.dxf");
  std::ofstream(path) << "old";
  ASSERT_GT(WriteDxf(*MakeDoc(kPicture), WriteDotsToCrosses).size(), 2048u);
  {
    const ScopedFileSizeLimit limit(2048);
    backend().QueueFileDialog(path);
    EXPECT_EQ(RunStatus(ID_DOTS_TO_CROSSES), kFailed);
  }
  ASSERT_EQ(backend().Messages().size(), 1u);
  EXPECT_EQ(backend().Messages()[0].text, text::kFileError);
  EXPECT_EQ(ReadFileBytes(path), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  ExpectPictureAsBefore();
}

TEST_F(ExportCommands, AutoTraceRestoresPictureAtScaleOneAndLeavesUndoCopy) {
  view.SetScale(4);
  backend().QueueFileDialog(dir.File("trace.dxf"));
  const int invalidatesBefore = host.InvalidateCount();
  EXPECT_TRUE(Run(ID_AUTO_TRACE));
  ExpectPictureAsBefore();
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(view.m_nScale, 1);
  EXPECT_EQ(view.GetTotalSize(), (CSize{12, 9}));
  EXPECT_GT(host.InvalidateCount(), invalidatesBefore);
  // One block is both the picture and its undo copy.
  EXPECT_EQ(backend().PeekClipboardData(CF_DIB), doc.m_hDib);
}

// After auto trace the picture shares its block with the clipboard; the next
// command must change only the picture, whether or not it can put a new undo
// copy on the clipboard.
TEST_F(ExportCommands, AfterAutoTraceTheNextCommandLeavesTheUndoCopyAsItWas) {
  for (const bool refused : {false, true}) {
    SCOPED_TRACE(refused ? "clipboard refused" : "clipboard usable");
    SetPicture(12, 9, FromRows(kPicture));
    backend().SetClipboardRefused(false);
    backend().QueueFileDialog(dir.File("trace.dxf"));
    ASSERT_TRUE(Run(ID_AUTO_TRACE));
    backend().SetClipboardRefused(refused);
    ASSERT_TRUE(RunThreshold(100));
    EXPECT_NE(RowsOf(doc), kPicture);
    backend().SetClipboardRefused(false);
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    ExpectPictureAsBefore();
  }
}

TEST_F(ExportCommands, AutoTraceChangesNothingWhenItCannotCopyThePicture) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator stops the program instead of failing";
#endif
  // A block claiming more memory than can be had: its copy fails.
  HGLOBAL picture = doc.m_hDib;
  GlobalBlock huge{picture->data, std::size_t{1} << 60, 0};
  doc.m_hDib = &huge;
  view.SetScale(2);
  view.OnAutoTrace();
  doc.m_hDib = picture;
  const CCommandResult result = view.TakeCommandResult();
  EXPECT_EQ(result.m_status, kFailed);
  EXPECT_EQ(result.m_strMessage, text::kOutOfMemory);
  EXPECT_TRUE(backend().FileDialogs().empty());
  EXPECT_EQ(backend().PeekClipboardData(CF_DIB), nullptr);
  EXPECT_EQ(view.m_nScale, 2);
  EXPECT_FALSE(doc.IsModified());
  ExpectPictureAsBefore();
}

TEST_F(ExportCommands, AutoTraceRestoresPictureWhenTheClipboardCannotBeUsed) {
  backend().SetClipboardRefused(true);
  backend().QueueFileDialog(std::nullopt);
  EXPECT_EQ(RunStatus(ID_AUTO_TRACE), kCancelled);
  ExpectPictureAsBefore();
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(backend().PeekClipboardData(CF_DIB), nullptr);
}

// A backend whose file dialog does something of its own before answering.
class IntrusiveBackend : public HeadlessBackend {
 public:
  std::function<void()> onFileDialog;
  std::intptr_t RunFileDialog(CFileDialog& dlg) override {
    onFileDialog();
    return HeadlessBackend::RunFileDialog(dlg);
  }
};

class ScopedBackend {
 public:
  explicit ScopedBackend(IPlatformBackend* b) : m_previous(SetPlatformBackend(b)) {}
  ~ScopedBackend() { SetPlatformBackend(m_previous); }

 private:
  IPlatformBackend* m_previous;
};

TEST_F(ExportCommands, AutoTraceRestoresItsOwnCopyWhenAnotherProgramTookTheClipboard) {
  IntrusiveBackend intruder;
  intruder.onFileDialog = [&] {
    intruder.PutClipboardData(CF_DIB, MakeDib24(3, 3, Uniform(kBlack)));
  };
  ScopedBackend scoped(&intruder);
  intruder.QueueFileDialog(dir.File("trace.dxf"));
  view.OnAutoTrace();
  ExpectPictureAsBefore();
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(view.GetTotalSize(), (CSize{12, 9}));
  EXPECT_EQ(intruder.WaitCursorDepth(), 0);
}

TEST_F(ExportCommands, AutoTraceRestoresPictureWhenSomethingElseFails) {
  IntrusiveBackend failing;
  failing.onFileDialog = [] { throw std::runtime_error("no dialog"); };
  ScopedBackend scoped(&failing);
  EXPECT_THROW(view.OnAutoTrace(), std::runtime_error);
  ExpectPictureAsBefore();
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(failing.WaitCursorDepth(), 0);
}

TEST_F(ExportCommands, VectorScriptAsksForOptionsThenFile) {
  int initialOption = -1;
  backend().QueueDialog([&](CDialog& dlg) {
    initialOption = dlg.IsDlgButtonChecked(IDC_RADIO_NOWHITE) ? 1 : 0;
    dlg.UserClick(IDC_RADIO_ALLCOLORS);
    dlg.UserClick(IDOK);
  });
  const std::string path = dir.File("out.txt");
  backend().QueueFileDialog(path);
  EXPECT_TRUE(Run(ID_SAVE_VECTORSCRIPT));
  EXPECT_EQ(initialOption, 1);
  EXPECT_EQ(backend().DialogsRun(), (std::vector<UINT>{IDD_VECTORSCRIPT}));
  const auto& d = backend().FileDialogs().at(0);
  EXPECT_EQ(d.defExt, "TXT");
  EXPECT_EQ(d.fileName, "QOV.TXT");
  EXPECT_EQ(d.flags, OFN_OVERWRITEPROMPT);
  EXPECT_EQ(d.filters,
            (std::vector<std::pair<std::string, std::string>>{{"TXTファイル(*.TXT)", "*.TXT"}}));
  EXPECT_EQ(ReadFileBytes(path), WriteVectorScript(*MakeDoc(kPicture), 0));
  EXPECT_EQ(backend().WaitCursorBegins(), 0);
  ExpectPictureAsBefore();
}

TEST_F(ExportCommands, VectorScriptStopsWhenEitherDialogIsCancelled) {
  backend().QueueDialog([](CDialog& dlg) { dlg.UserClick(IDCANCEL); });
  EXPECT_EQ(RunStatus(ID_SAVE_VECTORSCRIPT), kCancelled);
  EXPECT_TRUE(backend().FileDialogs().empty());
  backend().QueueDialog([](CDialog& dlg) { dlg.UserClick(IDOK); });
  backend().QueueFileDialog(std::nullopt);
  EXPECT_EQ(RunStatus(ID_SAVE_VECTORSCRIPT), kCancelled);
  EXPECT_EQ(backend().FileDialogs().size(), 1u);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  EXPECT_TRUE(backend().Messages().empty());
}

TEST_F(ExportCommands, VectorScriptFileErrorShowsTheMessage) {
  backend().QueueDialog([](CDialog& dlg) { dlg.UserClick(IDOK); });
  backend().QueueFileDialog("/dev/full");
  EXPECT_EQ(RunStatus(ID_SAVE_VECTORSCRIPT), kFailed);
  ASSERT_EQ(backend().Messages().size(), 1u);
  EXPECT_EQ(backend().Messages()[0].text, text::kFileError);
  ExpectPictureAsBefore();
}

}  // namespace
}  // namespace qov::test
