#pragma once
// The windows of the application framework on Qt, and the program's run:
// QApplication with Japanese translations, both backends installed,
// InitInstance, the message loop, ExitInstance.

#include <QPrinter>
#include <functional>
#include <memory>

#include "shell/AppBackend.h"
#include "shell/qt/QtPrinting.h"

namespace qov {

class CWinApp;
class QtMainWindow;
class QtViewWidget;

class QtAppBackend : public IAppBackend {
 public:
  QtAppBackend();
  ~QtAppBackend() override;

  std::unique_ptr<ISettings> OpenSettings(const std::string& registryKey,
                                          const std::string& appName) override;
  std::unique_ptr<IFrameHost> CreateFrameHost(CFrameWnd& frame) override;
  std::unique_ptr<IViewHost> CreateViewHost(CView& view, IFrameHost& frame) override;
  PrintResult PrintView(CView& view, CPrintInfo& info, const std::string& printerName,
                        std::string* reason) override;
  void PrintSetup() override;
  int Run() override;
  void Quit(int exitCode) override;

  QPrinter& Printer() { return m_printing.Printer(); }
  QtMainWindow* MainWindow() const { return m_pMainWindow; }
  QtViewWidget* ViewWidget() const { return m_pViewWidget; }
  bool QuitRequested() const { return m_bQuit; }

  // Japanese texts in Qt's own dialogs, whatever the locale, and the
  // program's look; needs a QApplication.
  static void PrepareApplication();

 private:
  QtPrinting m_printing;
  QtMainWindow* m_pMainWindow = nullptr;
  QtViewWidget* m_pViewWidget = nullptr;
  bool m_bQuit = false;
  int m_nExitCode = 0;
};

// Called once the application's InitInstance has succeeded, before the
// message loop (start-up measurements, screenshots).
using StartedHook = std::function<void(CWinApp&, QtAppBackend&)>;

// The desktop program: runs `app` with `args` on Qt; the exit code.
int RunQtApplication(int argc, char** argv, CWinApp& app, const StartedHook& started = {});

}  // namespace qov
