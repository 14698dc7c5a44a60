#pragma once
// The application object: profile settings and the recent-file list, the
// document template, the standard command line and shell commands, and the
// framework's File commands (New, Open, the recent files, Print Setup, Exit).
//
// The shell is the desktop program's alone: qov-convert and the layers below
// never include it. Its Qt hosts, printing among them, live in shell/qt/.
// Errors: opening and saving report the document's failure reason in a
// message box; a command's CCommandResult becomes the window's message box
// at the frame.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/CmdTarget.h"
#include "shell/CommandLineInfo.h"
#include "shell/DocTemplate.h"
#include "shell/RecentFileList.h"
#include "shell/Settings.h"

namespace qov {

class CDocument;
class CFrameWnd;

class CWinApp : public CCmdTarget {
 public:
  // Without a name, the application's name is string resource 57344.
  explicit CWinApp(std::string appName = {});
  ~CWinApp() override;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Start-up; false ends the application.
  virtual bool InitInstance() { return true; }
  // The message loop; returns ExitInstance's result.
  virtual int Run();
  // Writes the recent-file list and closes the windows; returns the exit
  // code.
  virtual int ExitInstance();

  // The arguments the program was started with, the program's name first.
  void SetCommandLine(std::vector<std::string> args) { m_args = std::move(args); }
  void ParseCommandLine(CCommandLineInfo& info) const;
  // New document, open, print or print-to as `info` asks. Printing opens,
  // prints and returns false, so that the application ends.
  bool ProcessShellCommand(CCommandLineInfo& info);

  // Settings go to the backend's store under `key` / application name.
  void SetRegistryKey(const std::string& key);
  // The recent-file list with `maxMRU` entries, read from the profile.
  void LoadStdProfileSettings(UINT maxMRU = 4);
  // A value kept in the profile, or none.
  std::optional<std::string> GetProfileString(const std::string& section,
                                              const std::string& entry) const;
  void WriteProfileString(const std::string& section, const std::string& entry,
                          const std::string& value);

  void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> tmpl);
  CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate.get(); }

  // Shell integration of the document type is the installed desktop entry's
  // business on this platform, and opening into the running program the
  // backend's (before start-up and once the window shows): these have
  // nothing to do.
  void EnableShellOpen() {}
  void RegisterShellFileTypes(bool /*withPrintCommands*/) {}

  // `page` as the template's OpenDocumentFile takes it: 0 asks, when the
  // file has several pages.
  virtual CDocument* OpenDocumentFile(const std::string& path, int page = 0);
  // `page`: the page of a multi-page file that was opened, 0 for others.
  virtual void AddToRecentFileList(const std::string& path, int page = 0);
  CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }

  void OnFileNew();
  void OnFileOpen();
  void OnFilePrintSetup();
  void OnAppExit();
  void OnOpenRecentFile(int index);

  // The recent files (57616 and on) and Exit.
  bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

  CFrameWnd* m_pMainWnd = nullptr;
  std::string m_pszAppName;
  std::string m_pszProfileName;
  // Returned by ExitInstance.
  int m_nExitCode = 0;

 private:
  ISettings& Settings() const;
  bool PrintFromShell(const CCommandLineInfo& info);

  std::vector<std::string> m_args;
  std::unique_ptr<ISettings> m_pSettings;
  std::unique_ptr<CRecentFileList> m_pRecentFileList;
  std::unique_ptr<CSingleDocTemplate> m_pDocTemplate;
};

// The one application object, or null.
CWinApp* AfxGetApp();

}  // namespace qov
