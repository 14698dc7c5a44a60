// The application framework without windows: the shell's print commands,
// the caption, the save prompt with its Save As dialog, and the recent-file
// list in the profile.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/PicturePages.h"
#include "image/QOV_V2Doc.h"
#include "platform/Clipboard.h"
#include "platform/FileDialog.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/HeadlessView.h"
#include "res/Resource.h"
#include "shell/FrameWnd.h"
#include "shell/PageDlg.h"
#include "shell/WinApp.h"
#include "tests/support/Bitmap.h"
#include "tests/support/TempDir.h"
#include "view/QOV_V2View.h"

namespace qov {
namespace {

class FakeFrameHost : public IFrameHost {
 public:
  void SetWindowText(const std::string& text) override { m_title = text; }
  std::string GetWindowText() const override { return m_title; }
  void ShowWindow() override { m_bVisible = true; }
  void UpdateWindow() override {}
  bool IsWindowVisible() const override { return m_bVisible; }
  void DragAcceptFiles(bool) override {}
  void RecentFilesChanged() override {}

 private:
  std::string m_title;
  bool m_bVisible = false;
};

class FakeAppBackend : public IAppBackend {
 public:
  std::unique_ptr<ISettings> OpenSettings(const std::string& key, const std::string& app) override {
    registryKey = key + "/" + app;
    return std::make_unique<SharedSettings>(settings);
  }
  std::unique_ptr<IFrameHost> CreateFrameHost(CFrameWnd&) override {
    auto host = std::make_unique<FakeFrameHost>();
    frameHost = host.get();
    return host;
  }
  std::unique_ptr<IViewHost> CreateViewHost(CView& view, IFrameHost&) override {
    return std::make_unique<HeadlessViewHost>(view);
  }
  PrintResult PrintView(CView&, CPrintInfo& info, const std::string& printer,
                        std::string* reason) override {
    printed.push_back({info.m_bDirect, info.m_bPreview, printer, frameHost->IsWindowVisible()});
    if (printResult == PrintResult::Failed)
      *reason = "no paper";
    return printResult;
  }
  void PrintSetup() override {}
  int Run() override { return 0; }
  void Quit(int) override { quit = true; }

  // Settings that outlive one application object.
  class SharedSettings : public ISettings {
   public:
    explicit SharedSettings(CMemorySettings& s) : m_s(s) {}
    std::optional<std::string> Read(const std::string& a, const std::string& b) const override {
      return m_s.Read(a, b);
    }
    void Write(const std::string& a, const std::string& b, const std::string& v) override {
      m_s.Write(a, b, v);
    }
    void Remove(const std::string& a, const std::string& b) override { m_s.Remove(a, b); }

   private:
    CMemorySettings& m_s;
  };

  struct PrintRecord {
    bool direct;
    bool preview;
    std::string printer;
    bool windowVisible;
  };
  CMemorySettings settings;
  std::string registryKey;
  FakeFrameHost* frameHost = nullptr;
  std::vector<PrintRecord> printed;
  PrintResult printResult = PrintResult::Printed;
  bool quit = false;
};

// The application's start-up, as far as it concerns the framework.
class TestApp : public CWinApp {
 public:
  bool InitInstance() override {
    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(4);
    AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        IDR_MAINFRAME, [] { return std::make_unique<CQOV_V2Doc>(); },
        [] { return std::make_unique<CFrameWnd>(); },
        [] { return std::make_unique<CQOV_V2View>(); }));
    ConnectPicturePages(*GetDocTemplate());
    CCommandLineInfo info;
    ParseCommandLine(info);
    if (!ProcessShellCommand(info))
      return false;
    m_pMainWnd->ShowWindow();
    return true;
  }
};

class WinApp : public ::testing::Test {
 protected:
  void SetUp() override {
    m_previous = SetAppBackend(&windows);
    test::WriteBmp(picture,
                   test::MakePicture({{test::kBlack, test::kBlack}, {test::kBlack, test::kBlack}}));
  }
  void TearDown() override { SetAppBackend(m_previous); }
  std::unique_ptr<TestApp> Start(std::vector<std::string> args, bool* started) {
    auto app = std::make_unique<TestApp>();
    args.insert(args.begin(), "qov");
    app->SetCommandLine(args);
    *started = app->InitInstance();
    return app;
  }

  ScopedHeadlessPlatform platform;
  FakeAppBackend windows;
  test::TempDir tmp;
  const std::filesystem::path& dir = tmp.path();
  std::string picture = tmp.File("pic.bmp");

 private:
  IAppBackend* m_previous = nullptr;
};

TEST_F(WinApp, PrintSwitchesPrintWithoutShowingTheWindowAndEnd) {
  struct Case {
    std::vector<std::string> args;
    std::string printer;
    PrintResult result;
    int exitCode;
  };
  for (const Case& c : {Case{{"/p", ""}, "", PrintResult::Printed, 0},
                        Case{{"/pt", "", "Laser", "drv", "lpt"}, "Laser", PrintResult::Printed, 0},
                        Case{{"/p", ""}, "", PrintResult::Failed, 1}}) {
    std::vector<std::string> args = c.args;
    args[1] = picture;
    windows.printed.clear();
    windows.printResult = c.result;
    platform.backend().ClearMessages();
    bool started = true;
    auto app = Start(args, &started);
    EXPECT_FALSE(started);
    ASSERT_EQ(windows.printed.size(), 1u);
    EXPECT_TRUE(windows.printed[0].direct);
    EXPECT_EQ(windows.printed[0].printer, c.printer);
    EXPECT_FALSE(windows.printed[0].windowVisible);
    EXPECT_EQ(app->ExitInstance(), c.exitCode);
    const bool reported = !platform.backend().Messages().empty();
    EXPECT_EQ(reported, c.result == PrintResult::Failed);
    if (reported) {
      EXPECT_EQ(platform.backend().Messages()[0].text, "印刷を開始できませんでした。\nno paper");
    }
  }
}

TEST_F(WinApp, CaptionIsTheDocumentTitleAndTheWindowTitle) {
  bool started = false;
  auto app = Start({}, &started);
  ASSERT_TRUE(started);
  EXPECT_EQ(windows.registryKey, "Local AppWizard-Generated Applications/QOV_V2");
  EXPECT_EQ(app->m_pMainWnd->GetWindowText(), "無題 - QOV");
  ASSERT_NE(app->OpenDocumentFile(picture), nullptr);
  EXPECT_EQ(app->m_pMainWnd->GetWindowText(), "pic.bmp - QOV");
  EXPECT_EQ(windows.settings.Read("Recent File List", "File1"), picture);
  app->ExitInstance();
}

// A path typed relative to where the program started stays right wherever
// it starts next: the document, its caption and the recent files keep it
// absolute and normalized.
TEST_F(WinApp, DocumentPathsAreKeptAbsolute) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::create_directory(dir / "sub");
  std::filesystem::current_path(dir / "sub");
  bool started = false;
  auto app = Start({"../sub/./../pic.bmp"}, &started);
  ASSERT_TRUE(started);
  auto* doc = app->m_pMainWnd->GetActiveDocument();
  const std::string saved = (dir / "saved.bmp").string();
  struct Step {
    std::function<void()> run;
    std::string path;
  };
  for (const Step& step : {Step{[] {}, picture},
                           Step{[&] {
                                  platform.backend().QueueFileDialog("../saved.bmp");
                                  app->m_pMainWnd->RunCommand(ID_FILE_SAVE_AS);
                                },
                                saved},
                           Step{[&] { app->OpenDocumentFile("./../sub/../pic.bmp"); }, picture}}) {
    step.run();
    EXPECT_EQ(doc->GetPathName(), step.path);
    EXPECT_EQ(windows.settings.Read("Recent File List", "File1"), step.path);
    EXPECT_EQ(app->m_pMainWnd->GetWindowText(),
              std::filesystem::path(step.path).filename().string() + " - QOV");
  }
  app->ExitInstance();
  std::filesystem::current_path(previous);
}

TEST_F(WinApp, SavePromptOfAnUntitledPictureSavesThroughSaveAs) {
  bool started = false;
  auto app = Start({}, &started);
  ASSERT_TRUE(started);
  // A picture pasted into the new, untitled document.
  platform.backend().PutClipboardData(
      CF_DIB, test::BlockOf(test::MakePicture({{test::kBlack, test::kBlack}})));
  ASSERT_TRUE(app->m_pMainWnd->RunCommand(ID_EDIT_PASTE));
  auto* doc = static_cast<CQOV_V2Doc*>(app->m_pMainWnd->GetActiveDocument());
  ASSERT_NE(doc->m_hDib, nullptr);
  ASSERT_TRUE(doc->IsModified());

  const std::string target = (dir / "kept.bmp").string();
  platform.backend().QueueMessageBoxAnswer(IDYES);
  platform.backend().QueueFileDialog(target);
  app->OnFileNew();

  ASSERT_FALSE(platform.backend().Messages().empty());
  EXPECT_EQ(platform.backend().Messages().back().text, "無題 への変更を保存しますか?");
  ASSERT_EQ(platform.backend().FileDialogs().size(), 1u);
  const auto& dialog = platform.backend().FileDialogs()[0];
  EXPECT_FALSE(dialog.open);
  EXPECT_EQ(dialog.defExt, "bmp");
  EXPECT_EQ(dialog.fileName, "無題.bmp");
  EXPECT_TRUE(dialog.flags & OFN_OVERWRITEPROMPT);
  const std::vector<std::pair<std::string, std::string>> filters{{"BMPﾌｧｲﾙ (*.bmp)", "*.bmp"},
                                                                 {"すべてのﾌｧｲﾙ (*.*)", "*.*"}};
  EXPECT_EQ(dialog.filters, filters);
  EXPECT_TRUE(std::filesystem::exists(target));
  EXPECT_EQ(doc->m_hDib, nullptr);
  EXPECT_EQ(windows.settings.Read("Recent File List", "File1"), target);
  app->ExitInstance();
}

// The open dialog offers every picture kind first. A picture opened from
// another format is saved as a .bmp beside it, chosen in the save dialog:
// Save never writes bitmap bytes into the PNG.
TEST_F(WinApp, APictureOfAnotherFormatIsSavedAsBmpThroughTheDialog) {
  bool started = false;
  auto app = Start({}, &started);
  ASSERT_TRUE(started);
  platform.backend().QueueFileDialog(std::nullopt);
  app->OnFileOpen();
  const std::vector<std::pair<std::string, std::string>> openFilters{
      {"画像ファイル (*.bmp *.dib *.tif *.tiff *.png *.jpg *.jpeg *.jpe *.pbm *.pgm *.ppm *.pnm)",
       "*.bmp;*.dib;*.tif;*.tiff;*.png;*.jpg;*.jpeg;*.jpe;*.pbm;*.pgm;*.ppm;*.pnm"},
      {"BMPﾌｧｲﾙ (*.bmp)", "*.bmp"},
      {"すべてのﾌｧｲﾙ (*.*)", "*.*"}};
  ASSERT_EQ(platform.backend().FileDialogs().size(), 1u);
  EXPECT_EQ(platform.backend().FileDialogs()[0].filters, openFilters);

  const std::string png = (dir / "scan.png").string();
  std::filesystem::copy_file(std::string(QOV_TEST_DATA_DIR) + "/import/png-c2-8.png", png);
  const std::string before = test::ReadFileBytes(png);
  ASSERT_NE(app->OpenDocumentFile(png), nullptr);
  auto* doc = static_cast<CQOV_V2Doc*>(app->m_pMainWnd->GetActiveDocument());
  doc->SetModifiedFlag(true);
  const std::string target = (dir / "scan.bmp").string();
  platform.backend().QueueFileDialog(target);
  ASSERT_TRUE(app->m_pMainWnd->RunCommand(ID_FILE_SAVE));
  ASSERT_EQ(platform.backend().FileDialogs().size(), 2u);
  EXPECT_EQ(platform.backend().FileDialogs()[1].fileName, target);
  EXPECT_TRUE(platform.backend().FileDialogs()[1].flags & OFN_OVERWRITEPROMPT);
  EXPECT_EQ(test::ReadFileBytes(png), before);
  EXPECT_EQ(test::ReadFileBytes(target).substr(0, 2), "BM");
  EXPECT_EQ(doc->GetPathName(), target);
  app->ExitInstance();
}

// A multi-page file asks which page to open, and the recent-file list
// reopens that page without asking again; a file of one page asks nothing.
TEST_F(WinApp, MultiPageFileAsksItsPageAndTheRecentFileKeepsIt) {
  const std::string pages = (dir / "pages.tif").string();
  const std::string onePage = (dir / "one.tif").string();
  std::filesystem::copy_file(std::string(QOV_TEST_DATA_DIR) + "/import/two-pages.tif", pages);
  std::filesystem::copy_file(std::string(QOV_TEST_DATA_DIR) + "/import/grey8-lzw.tif", onePage);
  constexpr int kCancel = 0, kDefault = -1;
  struct Case {
    std::string path;
    int answer;  // the page typed, kDefault for OK as it opens, kCancel
    bool asked;
    std::string openedPath;  // the document's path afterwards
    int width;               // its picture's width: 13 page 1, 5 page 2
    std::optional<std::string> keptPage;
    std::string message;
  };
  const std::string kRange = "1 から 2 までのページ番号を入力してください。";
  for (const Case& c :
       {Case{pages, 2, true, pages, 5, "2", ""}, Case{pages, kDefault, true, pages, 13, "1", ""},
        Case{pages, kCancel, true, picture, 2, std::nullopt, ""},
        Case{pages, 3, true, picture, 2, std::nullopt, kRange},
        Case{onePage, 2, false, onePage, 13, std::nullopt, ""}}) {
    bool started = false;
    windows.settings = {};
    auto app = Start({picture}, &started);
    ASSERT_TRUE(started);
    platform.backend().ClearMessages();
    if (c.answer == kCancel || c.answer == kDefault)
      platform.backend().QueueDialog(
          [&c](CDialog& dlg) { dlg.UserClick(c.answer == kCancel ? IDCANCEL : IDOK); });
    else
      platform.backend().QueueDialogData(
          [&c](CDialog& dlg) { static_cast<CPageDlg&>(dlg).m_nPage = c.answer; });
    const std::size_t dialogsBefore = platform.backend().DialogsRun().size();
    app->OpenDocumentFile(c.path);
    const bool asked = platform.backend().DialogsRun().size() > dialogsBefore;
    EXPECT_EQ(asked, c.asked) << c.path;
    EXPECT_EQ(asked ? platform.backend().DialogsRun().back() : 0u, c.asked ? IDD_PAGE : 0u);
    auto* doc = static_cast<CQOV_V2Doc*>(app->m_pMainWnd->GetActiveDocument());
    doc->UpdateImageSize();
    EXPECT_EQ(doc->GetPathName(), c.openedPath) << c.answer;
    EXPECT_EQ(doc->m_nWidth, c.width) << c.answer;
    EXPECT_EQ(windows.settings.Read("Recent File List", "Page1"), c.keptPage) << c.answer;
    const auto& messages = platform.backend().Messages();
    EXPECT_EQ(messages.empty() ? "" : messages[0].text, c.message) << c.answer;
    if (c.keptPage) {
      ASSERT_NE(app->OpenDocumentFile(picture), nullptr);
      app->m_pMainWnd->RunCommand(ID_FILE_MRU_FILE1 + 1);
      doc->UpdateImageSize();
      EXPECT_EQ(doc->GetPathName(), c.path);
      EXPECT_EQ(doc->m_nWidth, c.width) << "reopened from the recent files";
      EXPECT_EQ(platform.backend().DialogsRun().size(), dialogsBefore + 1);
    }
    app->ExitInstance();
  }
}

}  // namespace
}  // namespace qov
