#pragma once
// What a backend provides: the services that the system's code reaches
// through the free functions and classes of this layer. The Qt backend gives
// real windows; the headless backend gives an in-process stand-in. Printing
// and the application's own windows are not services: they are the shell's
// (shell/, shell/qt/), which only the desktop program links.
//
// Errors: files throw CFileException (cause, path, the system's error);
// memory and the clipboard answer with a null handle or false. What a
// command came to travels as a CCommandResult (CommandResult.h).

#include <cstdint>
#include <memory>
#include <string>

#include "platform/GlobalMemory.h"
#include "platform/Progress.h"
#include "platform/Types.h"

namespace qov {

class CDialog;
class CFileDialog;

class IPlatformBackend {
 public:
  virtual ~IPlatformBackend() = default;

  virtual int MessageBox(const std::string& text, const std::string& caption, UINT type) = 0;
  // Calls dlg.OnInitDialog(), then runs until the dialog ends; its result.
  virtual std::intptr_t RunModalDialog(CDialog& dlg) = 0;
  // IDOK after dlg.SetPathName(chosen path), or IDCANCEL.
  virtual std::intptr_t RunFileDialog(CFileDialog& dlg) = 0;
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;

  virtual bool OpenClipboard() = 0;
  virtual bool CloseClipboard() = 0;
  virtual bool EmptyClipboard() = 0;
  virtual HGLOBAL GetClipboardData(UINT format) = 0;
  // Takes `block` when it returns true.
  virtual bool SetClipboardData(UINT format, CGlobalOwner&& block) = 0;
  virtual bool IsClipboardFormatAvailable(UINT format) = 0;

  // What listens to one command's walks over the picture (Progress.h);
  // null: nobody does, and nothing can cancel them.
  virtual std::unique_ptr<CProgress> CreateProgress() { return nullptr; }
};

// The backend in force; std::logic_error when none was installed.
IPlatformBackend& Platform();
// Installs `backend` (not owned); returns the previous one.
IPlatformBackend* SetPlatformBackend(IPlatformBackend* backend);

}  // namespace qov
