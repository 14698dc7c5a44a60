#include "app/QOV_V2App.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <optional>

#include "app/AboutDlg.h"
#include "app/MainFrm.h"
#include "app/PicturePages.h"
#include "app/VectorizeSettings.h"
#include "image/QOV_V2Doc.h"
#include "platform/FrameworkStrings.h"
#include "res/AutomationIds.h"
#include "res/Resource.h"
#include "shell/FrameWnd.h"
#include "view/QOV_V2View.h"

namespace qov {
namespace {

constexpr const char* kRegistryKey = "Local AppWizard-Generated Applications";
constexpr UINT kMaxRecentFiles = 4;
// Pictures larger than this many million pixels are refused when it is set
// (a positive number); otherwise the memory available decides.
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kMaxMegapixelsEntry = "MaxMegapixels";

double ParseMegapixels(const std::optional<std::string>& text) {
  double value = 0;
  if (!text)
    return 0;
  const char* end = text->data() + text->size();
  auto [ptr, ec] = std::from_chars(text->data(), end, value);
  return ec == std::errc() && ptr == end && value > 0 ? value : 0;
}
// What the automation switches end with when no client could reach the
// program.
constexpr int kExitAutomationUnavailable = 2;

const std::array<MessageMapEntry<CQOV_V2App>, 4> kMessageMap{{
    OnCommand<CQOV_V2App>(ID_APP_ABOUT, &CQOV_V2App::OnAppAbout),
    OnCommand<CQOV_V2App>(ID_FILE_NEW, &CWinApp::OnFileNew),
    OnCommand<CQOV_V2App>(ID_FILE_OPEN, &CWinApp::OnFileOpen),
    OnCommand<CQOV_V2App>(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup),
}};

}  // namespace

CQOV_V2App::CQOV_V2App() = default;

bool CQOV_V2App::InitInstance() {
  // OLE, its control containment and the three-dimensional dialog look are
  // Windows services: on this platform there is nothing to initialise, and
  // nothing that could fail with the message of string 100.

  SetRegistryKey(kRegistryKey);
  LoadStdProfileSettings(kMaxRecentFiles);

  const double maxMegapixels =
      ParseMegapixels(GetProfileString(kSettingsSection, kMaxMegapixelsEntry));
  AddDocTemplate(std::make_unique<CSingleDocTemplate>(
      IDR_MAINFRAME,
      [maxMegapixels] {
        auto doc = std::make_unique<CQOV_V2Doc>();
        doc->m_readOptions.maxMegapixels = maxMegapixels;
        return doc;
      },
      [] { return std::make_unique<CMainFrame>(); },
      [this] {
        auto view = std::make_unique<CQOV_V2View>();
        view->m_vectorizeParams = ReadVectorizeSettings(*this);
        view->m_onVectorizeParamsChosen = [this](const VectorizeParams& params) {
          WriteVectorizeSettings(*this, params);
        };
        return view;
      }));
  ConnectPicturePages(*GetDocTemplate());

  m_server.ConnectTemplate(CLSID_QOV_V2Document, *GetDocTemplate(), true);

  EnableShellOpen();
  RegisterShellFileTypes(true);

  CCommandLineInfo cmdInfo;
  ParseCommandLine(cmdInfo);

  if (cmdInfo.m_bRunEmbedded || cmdInfo.m_bRunAutomated) {
    // Unreachable by its clients, the program would run unseen for good.
    std::string reason;
    if (!COleTemplateServer::RegisterAll(&reason)) {
      std::fprintf(stderr, "%s: %s\n%s\n", m_pszAppName.c_str(), text::kAutomationUnavailable,
                   reason.c_str());
      m_nExitCode = kExitAutomationUnavailable;
      return false;
    }
    return true;
  }

  m_server.UpdateRegistry(OAT_DISPATCH_OBJECT);
  COleObjectFactory::UpdateRegistryAll();
  if (!ProcessShellCommand(cmdInfo))
    return false;

  m_pMainWnd->ShowWindow();
  m_pMainWnd->UpdateWindow();
  m_pMainWnd->DragAcceptFiles();
  return true;
}

void CQOV_V2App::OnAppAbout() {
  CAboutDlg aboutDlg;
  aboutDlg.DoModal();
}

bool CQOV_V2App::OnCmdMsg(UINT nID, CCmdUI* pCmdUI) {
  return DispatchMessageMap<CQOV_V2App>(*this, kMessageMap, nID, pCmdUI) ||
         CWinApp::OnCmdMsg(nID, pCmdUI);
}

}  // namespace qov
