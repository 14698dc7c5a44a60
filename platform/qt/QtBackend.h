#pragma once
// The platform services on Qt: message boxes, dialogs built from templates,
// file dialogs, the wait cursor and the system clipboard. Printing is the
// shell's (shell/qt/QtPrinting.h).

#include <chrono>
#include <utility>

#include "platform/Backend.h"
#include "platform/qt/QtClipboard.h"

class QWidget;

namespace qov {

class QtBackend : public IPlatformBackend {
 public:
  // The window reads and writes regular files only, while this backend is in
  // force.
  QtBackend();
  ~QtBackend() override;

  int MessageBox(const std::string& text, const std::string& caption, UINT type) override;
  std::intptr_t RunModalDialog(CDialog& dlg) override;
  std::intptr_t RunFileDialog(CFileDialog& dlg) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;

  bool OpenClipboard() override { return m_clipboard.Open(); }
  bool CloseClipboard() override { return m_clipboard.Close(); }
  bool EmptyClipboard() override { return m_clipboard.Empty(); }
  HGLOBAL GetClipboardData(UINT format) override { return m_clipboard.Get(format); }
  bool SetClipboardData(UINT format, CGlobalOwner&& block) override {
    return m_clipboard.Set(format, std::move(block));
  }
  bool IsClipboardFormatAvailable(UINT format) override { return m_clipboard.IsAvailable(format); }

  // A command's progress dialog shows once it has walked for the delay.
  std::unique_ptr<CProgress> CreateProgress() override;
  void SetProgressDelay(std::chrono::milliseconds delay) { m_progressDelay = delay; }

  // The window that owns a new modal window: the topmost modal one, else
  // the active window.
  static QWidget* DialogParent();

 private:
  int m_nWaitDepth = 0;
  std::chrono::milliseconds m_progressDelay{500};
  QtClipboard m_clipboard;
};

// For the life of a modal window: no view keeps the mouse captured, and the
// arrow shows over it even inside a wait cursor.
class ModalScope {
 public:
  ModalScope();
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
};

}  // namespace qov
