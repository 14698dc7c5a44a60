#pragma once
// The in-process backend of the tests and the batch converter: an in-memory
// clipboard, dialogs and file dialogs answered by scripts queued in advance,
// message boxes recorded (never printed: qov-convert reports from the
// commands' results), and a wait cursor that only counts.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Backend.h"

namespace qov {

class HeadlessBackend : public IPlatformBackend {
 public:
  // Acts on a dialog after its OnInitDialog: sets controls through the
  // CDialog::User* calls and ends with UserClick(IDOK) or UserClick(IDCANCEL).
  using DialogScript = std::function<void(CDialog&)>;

  struct MessageRecord {
    std::string text;
    std::string caption;
    UINT type;
  };

  HeadlessBackend();
  ~HeadlessBackend() override;

  // The next modal dialog runs `script`. A dialog with no script queued is
  // cancelled, and so is one whose script leaves it open (after a failed
  // validation, say).
  void QueueDialog(DialogScript script);
  // The next modal dialog is answered through its data, as a scripted
  // dialog is: `setData` sets its members before its OnInitDialog moves them
  // into the controls, then OK takes them back out, validated. This is how
  // qov-convert hands a command its options (the threshold, the VectorScript
  // colour choice) without touching a control.
  void QueueDialogData(DialogScript setData);
  // The next file dialog returns `path`, or is cancelled with nullopt.
  void QueueFileDialog(std::optional<std::string> path);
  // The answer of the next message box (IDOK when none is queued).
  void QueueMessageBoxAnswer(int answer);

  const std::vector<MessageRecord>& Messages() const { return m_messages; }
  void ClearMessages() { m_messages.clear(); }

  // File dialogs shown so far (the dialog objects' settings, copied).
  struct FileDialogRecord {
    bool open;
    std::string defExt;
    std::string fileName;
    DWORD flags;
    std::vector<std::pair<std::string, std::string>> filters;
  };
  const std::vector<FileDialogRecord>& FileDialogs() const { return m_fileDialogs; }
  // Template ids of the modal dialogs run so far.
  const std::vector<UINT>& DialogsRun() const { return m_dialogsRun; }

  int WaitCursorDepth() const { return m_nWaitDepth; }
  int WaitCursorBegins() const { return m_nWaitBegins; }

  // The clipboard: while refused, OpenClipboard fails (another program
  // holds it).
  void SetClipboardRefused(bool refused) { m_bClipboardRefused = refused; }
  bool IsClipboardOpen() const { return m_bClipboardOpen; }
  // Puts data on the clipboard as another program would; a null block
  // removes the format's data.
  void PutClipboardData(UINT format, CGlobalOwner&& block);
  // The block held for `format`, without opening the clipboard.
  HGLOBAL PeekClipboardData(UINT format) const;
  void ClearClipboard();

  // Progress: every command from now on counts its steps over all its walks
  // and, when `step` is not 0, is stopped at its `step`-th step as by the
  // user's キャンセル. ProgressSteps: the steps the last command reported.
  void CancelAtStep(int step) { m_nCancelAtStep = step; }
  int ProgressSteps() const { return m_nProgressSteps; }

  int MessageBox(const std::string& text, const std::string& caption, UINT type) override;
  std::intptr_t RunModalDialog(CDialog& dlg) override;
  std::intptr_t RunFileDialog(CFileDialog& dlg) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  bool OpenClipboard() override;
  bool CloseClipboard() override;
  bool EmptyClipboard() override;
  HGLOBAL GetClipboardData(UINT format) override;
  bool SetClipboardData(UINT format, CGlobalOwner&& block) override;
  bool IsClipboardFormatAvailable(UINT format) override;
  std::unique_ptr<CProgress> CreateProgress() override;

 private:
  // Each answer: what sets the data before OnInitDialog, what acts after it.
  struct DialogAnswer {
    DialogScript setData;
    DialogScript script;
  };
  std::deque<DialogAnswer> m_dialogAnswers;
  std::deque<std::optional<std::string>> m_fileAnswers;
  std::deque<int> m_messageAnswers;
  std::vector<MessageRecord> m_messages;
  std::vector<FileDialogRecord> m_fileDialogs;
  std::vector<UINT> m_dialogsRun;
  int m_nWaitDepth = 0;
  int m_nWaitBegins = 0;
  bool m_bClipboardRefused = false;
  bool m_bClipboardOpen = false;
  std::map<UINT, CGlobalOwner> m_clipboard;
  int m_nCancelAtStep = 0;
  int m_nProgressSteps = 0;
};

// Installs a HeadlessBackend for its lifetime (tests, the batch converter).
class ScopedHeadlessPlatform {
 public:
  ScopedHeadlessPlatform() : m_previous(SetPlatformBackend(&m_backend)) {}
  ~ScopedHeadlessPlatform() { SetPlatformBackend(m_previous); }
  ScopedHeadlessPlatform(const ScopedHeadlessPlatform&) = delete;
  ScopedHeadlessPlatform& operator=(const ScopedHeadlessPlatform&) = delete;
  HeadlessBackend& backend() { return m_backend; }

 private:
  HeadlessBackend m_backend;
  IPlatformBackend* m_previous;
};

}  // namespace qov
