#include "shell/WinApp.h"

#include <stdexcept>

#include "platform/Document.h"
#include "platform/File.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "shell/AppBackend.h"
#include "shell/DocManager.h"
#include "shell/FrameWnd.h"

namespace qov {
namespace {

CWinApp* g_pApp = nullptr;

constexpr const char* kRecentFileSection = "Recent File List";
constexpr const char* kRecentFileEntry = "File%d";

bool IsRecentFileCommand(UINT nID, int maxCount) {
  return nID >= ID_FILE_MRU_FILE1 && nID < ID_FILE_MRU_FILE1 + static_cast<UINT>(maxCount);
}

}  // namespace

CWinApp::CWinApp(std::string appName)
    : m_pszAppName(appName.empty() ? LoadString(IDS_APP_TITLE) : std::move(appName)),
      m_pszProfileName(m_pszAppName),
      m_pSettings(std::make_unique<CMemorySettings>()) {
  g_pApp = this;
}

CWinApp::~CWinApp() {
  // The frame and its view go before the document, and all before the app.
  m_pDocTemplate.reset();
  if (g_pApp == this)
    g_pApp = nullptr;
}

CWinApp* AfxGetApp() {
  return g_pApp;
}

int CWinApp::Run() {
  AppBackend().Run();
  return ExitInstance();
}

int CWinApp::ExitInstance() {
  if (m_pRecentFileList)
    m_pRecentFileList->WriteList(Settings());
  // The windows go now, while the backend that made them is still there.
  m_pMainWnd = nullptr;
  m_pDocTemplate.reset();
  return m_nExitCode;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const {
  ParseCommandLineArgs(m_args, info);
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
  switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
    case CCommandLineInfo::FileDDE:
      OnFileNew();
      return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
      if (OpenDocumentFile(info.m_strFileName))
        return true;
      m_nExitCode = 1;
      return false;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
      m_nExitCode = PrintFromShell(info) ? 0 : 1;
      return false;
    case CCommandLineInfo::AppUnregister:
      return false;
  }
  return false;
}

// Opens the file and prints it without showing the window; the application
// ends afterwards whatever happened.
bool CWinApp::PrintFromShell(const CCommandLineInfo& info) {
  if (!OpenDocumentFile(info.m_strFileName) || !m_pMainWnd)
    return false;
  return m_pMainWnd->PrintActiveView(true, false, info.m_strPrinterName) == PrintResult::Printed;
}

ISettings& CWinApp::Settings() const {
  return *m_pSettings;
}

std::optional<std::string> CWinApp::GetProfileString(const std::string& section,
                                                     const std::string& entry) const {
  return Settings().Read(section, entry);
}

void CWinApp::WriteProfileString(const std::string& section, const std::string& entry,
                                 const std::string& value) {
  Settings().Write(section, entry, value);
}

void CWinApp::SetRegistryKey(const std::string& key) {
  if (auto settings = AppBackend().OpenSettings(key, m_pszProfileName)) {
    m_pSettings = std::move(settings);
  }
}

void CWinApp::LoadStdProfileSettings(UINT maxMRU) {
  if (maxMRU == 0)
    return;
  m_pRecentFileList = std::make_unique<CRecentFileList>(kRecentFileSection, kRecentFileEntry,
                                                        static_cast<int>(maxMRU));
  m_pRecentFileList->ReadList(Settings());
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> tmpl) {
  m_pDocTemplate = std::move(tmpl);
}

CDocument* CWinApp::OpenDocumentFile(const std::string& path, int page) {
  if (!m_pDocTemplate)
    return nullptr;
  return m_pDocTemplate->OpenDocumentFile(AbsolutePath(path), page);
}

void CWinApp::AddToRecentFileList(const std::string& path, int page) {
  if (!m_pRecentFileList)
    return;
  m_pRecentFileList->Add(AbsolutePath(path), page);
  // Kept at once, not only at exit: a later crash must not lose it.
  m_pRecentFileList->WriteList(Settings());
  if (m_pMainWnd && m_pMainWnd->GetHost())
    m_pMainWnd->GetHost()->RecentFilesChanged();
}

void CWinApp::OnFileNew() {
  if (m_pDocTemplate)
    m_pDocTemplate->OpenDocumentFile(std::nullopt);
}

void CWinApp::OnFileOpen() {
  if (!m_pDocTemplate)
    return;
  std::string path;
  if (!DoPromptFileName(path, true, *m_pDocTemplate))
    return;
  OpenDocumentFile(path);
}

void CWinApp::OnFilePrintSetup() {
  AppBackend().PrintSetup();
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd)
    m_pMainWnd->OnClose();
}

void CWinApp::OnOpenRecentFile(int index) {
  if (!m_pRecentFileList || index >= m_pRecentFileList->GetCount())
    return;
  const std::string path = (*m_pRecentFileList)[index];
  if (!OpenDocumentFile(path, m_pRecentFileList->GetPage(index))) {
    // Only a file that is gone or unreadable leaves the list; a cancelled
    // save prompt does not.
    if (m_pDocTemplate && m_pDocTemplate->OpenFailed()) {
      m_pRecentFileList->Remove(index);
      m_pRecentFileList->WriteList(Settings());
      if (m_pMainWnd && m_pMainWnd->GetHost())
        m_pMainWnd->GetHost()->RecentFilesChanged();
    }
  }
}

bool CWinApp::OnCmdMsg(UINT nID, CCmdUI* pCmdUI) {
  const int maxCount = m_pRecentFileList ? m_pRecentFileList->GetSize() : 1;
  if (IsRecentFileCommand(nID, maxCount)) {
    const int index = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    const int count = m_pRecentFileList ? m_pRecentFileList->GetCount() : 0;
    if (pCmdUI) {
      pCmdUI->Enable(index < count);
    } else {
      OnOpenRecentFile(index);
    }
    return true;
  }
  if (nID == ID_APP_EXIT) {
    if (!pCmdUI)
      OnAppExit();
    return true;
  }
  return false;
}

}  // namespace qov
