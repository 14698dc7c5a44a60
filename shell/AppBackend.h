#pragma once
// The windowing side of the application framework: the main frame's window,
// the view's window, printing, profile storage and the message loop. The Qt
// backend gives real windows; tests may give stand-ins.

#include <memory>
#include <string>

#include "platform/View.h"

namespace qov {

class CFrameWnd;
class ISettings;

// The backend's side of a frame window.
class IFrameHost {
 public:
  virtual ~IFrameHost() = default;
  virtual void SetWindowText(const std::string& text) = 0;
  virtual std::string GetWindowText() const = 0;
  // The plain show command.
  virtual void ShowWindow() = 0;
  // Paints what is invalid now.
  virtual void UpdateWindow() = 0;
  virtual bool IsWindowVisible() const = 0;
  virtual void DragAcceptFiles(bool accept) = 0;
  // The recent-file list changed: the File menu follows.
  virtual void RecentFilesChanged() = 0;
};

enum class PrintResult { Printed, Cancelled, Failed };

class IAppBackend {
 public:
  virtual ~IAppBackend() = default;

  // The store of profile settings under `registryKey` / `appName`.
  virtual std::unique_ptr<ISettings> OpenSettings(const std::string& registryKey,
                                                  const std::string& appName) = 0;
  virtual std::unique_ptr<IFrameHost> CreateFrameHost(CFrameWnd& frame) = 0;
  // The view's window, inside the frame's.
  virtual std::unique_ptr<IViewHost> CreateViewHost(CView& view, IFrameHost& frame) = 0;

  // Prints the view's drawing: with the print dialog, directly (info.m_bDirect,
  // on `printerName` when it is not empty, else on the printer chosen last), or
  // as a preview (info.m_bPreview). On Failed, *reason says why.
  virtual PrintResult PrintView(CView& view, CPrintInfo& info, const std::string& printerName,
                                std::string* reason) = 0;
  // The printer setup dialog; the choice holds for later printing.
  virtual void PrintSetup() = 0;

  // The message loop: returns the exit code once Quit was called.
  virtual int Run() = 0;
  virtual void Quit(int exitCode) = 0;
};

// The backend in force; std::logic_error when none was installed.
IAppBackend& AppBackend();
// Installs `backend` (not owned); returns the previous one.
IAppBackend* SetAppBackend(IAppBackend* backend);

}  // namespace qov
