// The in-process backend: scripted dialogs, recorded message boxes, a
// counting wait cursor and a clipboard in memory.

#include "platform/headless/HeadlessBackend.h"

#include <utility>

#include "platform/Dialog.h"
#include "platform/FileDialog.h"
#include "platform/Progress.h"

namespace qov {

HeadlessBackend::HeadlessBackend() = default;

HeadlessBackend::~HeadlessBackend() {
  ClearClipboard();
}

void HeadlessBackend::QueueDialog(DialogScript script) {
  m_dialogAnswers.push_back({nullptr, std::move(script)});
}

void HeadlessBackend::QueueDialogData(DialogScript setData) {
  m_dialogAnswers.push_back({std::move(setData), [](CDialog& dlg) { dlg.UserClick(IDOK); }});
}

void HeadlessBackend::QueueFileDialog(std::optional<std::string> path) {
  m_fileAnswers.push_back(std::move(path));
}

void HeadlessBackend::QueueMessageBoxAnswer(int answer) {
  m_messageAnswers.push_back(answer);
}

int HeadlessBackend::MessageBox(const std::string& text, const std::string& caption, UINT type) {
  m_messages.push_back({text, caption, type});
  if (m_messageAnswers.empty())
    return IDOK;
  const int answer = m_messageAnswers.front();
  m_messageAnswers.pop_front();
  return answer;
}

// Nobody is there to close a dialog the script left open: it is cancelled,
// and ended outright if its OnCancel refuses, so that the run always returns.
std::intptr_t HeadlessBackend::RunModalDialog(CDialog& dlg) {
  m_dialogsRun.push_back(dlg.GetTemplateId());
  DialogAnswer answer;
  if (!m_dialogAnswers.empty()) {
    answer = std::move(m_dialogAnswers.front());
    m_dialogAnswers.pop_front();
  }
  if (answer.setData)
    answer.setData(dlg);
  dlg.OnInitDialog();
  if (answer.script)
    answer.script(dlg);
  if (!dlg.IsEnded())
    dlg.OnCancel();
  if (!dlg.IsEnded())
    dlg.EndDialog(IDCANCEL);
  return dlg.GetResult();
}

std::intptr_t HeadlessBackend::RunFileDialog(CFileDialog& dlg) {
  m_fileDialogs.push_back(
      {dlg.IsOpenDialog(), dlg.GetDefExt(), dlg.GetFileName(), dlg.GetFlags(), dlg.GetFilters()});
  std::optional<std::string> answer;
  if (!m_fileAnswers.empty()) {
    answer = std::move(m_fileAnswers.front());
    m_fileAnswers.pop_front();
  }
  if (!answer)
    return IDCANCEL;
  dlg.SetPathName(std::move(*answer));
  return IDOK;
}

void HeadlessBackend::BeginWaitCursor() {
  ++m_nWaitDepth;
  ++m_nWaitBegins;
}

void HeadlessBackend::EndWaitCursor() {
  if (m_nWaitDepth > 0)
    --m_nWaitDepth;
}

bool HeadlessBackend::OpenClipboard() {
  if (m_bClipboardRefused || m_bClipboardOpen)
    return false;
  m_bClipboardOpen = true;
  return true;
}

bool HeadlessBackend::CloseClipboard() {
  if (!m_bClipboardOpen)
    return false;
  m_bClipboardOpen = false;
  return true;
}

bool HeadlessBackend::EmptyClipboard() {
  if (!m_bClipboardOpen)
    return false;
  ClearClipboard();
  return true;
}

HGLOBAL HeadlessBackend::GetClipboardData(UINT format) {
  return m_bClipboardOpen ? PeekClipboardData(format) : nullptr;
}

bool HeadlessBackend::SetClipboardData(UINT format, CGlobalOwner&& block) {
  if (!m_bClipboardOpen || !block)
    return false;
  PutClipboardData(format, std::move(block));
  return true;
}

bool HeadlessBackend::IsClipboardFormatAvailable(UINT format) {
  return m_clipboard.count(format) != 0;
}

void HeadlessBackend::PutClipboardData(UINT format, CGlobalOwner&& block) {
  if (!block) {
    m_clipboard.erase(format);
    return;
  }
  m_clipboard[format] = std::move(block);
}

HGLOBAL HeadlessBackend::PeekClipboardData(UINT format) const {
  const auto it = m_clipboard.find(format);
  return it == m_clipboard.end() ? nullptr : it->second.get();
}

void HeadlessBackend::ClearClipboard() {
  m_clipboard.clear();
}

namespace {

class CountingProgress : public CProgress {
 public:
  CountingProgress(int& steps, int cancelAt) : m_nSteps(steps), m_nCancelAt(cancelAt) {
    m_nSteps = 0;
  }
  void BeginWalk(std::int64_t /*total*/) override {}
  void EndWalk() noexcept override {}
  void Step(std::int64_t /*done*/) override {
    if (++m_nSteps == m_nCancelAt)
      throw CUserException();
  }

 private:
  int& m_nSteps;
  int m_nCancelAt;
};

}  // namespace

std::unique_ptr<CProgress> HeadlessBackend::CreateProgress() {
  return std::make_unique<CountingProgress>(m_nProgressSteps, m_nCancelAtStep);
}

}  // namespace qov
