// The base command target and the command boundary.

#include "platform/CmdTarget.h"

#include <exception>
#include <new>
#include <string>

#include "platform/Dialog.h"
#include "platform/File.h"
#include "platform/FrameworkStrings.h"
#include "platform/MessageBox.h"
#include "platform/Progress.h"

namespace qov {

namespace {

// Builds the failure without allocating where it can: the boundary must
// return whatever happens, even with no memory left for a text.
CCommandResult FailedNoThrow(const char* message, const char* reason, UINT type) noexcept {
  try {
    return CCommandResult::Failed(message, reason, type);
  } catch (...) {
    return CCommandResult(CCommandResult::failed);
  }
}

CCommandResult FileFailure(const CFileException& e) noexcept {
  try {
    return CCommandResult::Failed(FileErrorMessage(e), FileErrorReason(e), MB_ICONSTOP);
  } catch (...) {
    return FailedNoThrow(text::kOutOfMemory, reason::kOutOfMemory, MB_ICONEXCLAMATION);
  }
}

}  // namespace

bool CCmdTarget::OnCmdMsg(UINT /*nID*/, CCmdUI* /*pCmdUI*/) {
  return false;
}

void UpdateCommandUI(CCmdTarget& root, CCmdUI& ui) {
  if (!root.OnCmdMsg(ui.m_nID, &ui))
    ui.Enable(false);
}

// Running out of memory is a warning, as the framework gave it; anything
// else that escapes a command is shown as a stop.
CCommandResult ExecuteCommand(CCmdTarget& root, UINT nID) {
  try {
    const CCommandProgress progress;
    CCmdUI ui(nID);
    UpdateCommandUI(root, ui);
    if (!ui.m_bEnabled)
      return CCommandResult(CCommandResult::disabled);
    root.TakeCommandResult();
    if (!root.OnCmdMsg(nID, nullptr))
      return CCommandResult(CCommandResult::disabled);
    return root.TakeCommandResult();
  } catch (const std::bad_alloc&) {
    return FailedNoThrow(text::kOutOfMemory, reason::kOutOfMemory, MB_ICONEXCLAMATION);
  } catch (const CFileException& e) {
    return FileFailure(e);
  } catch (const CUserException&) {
    return CCommandResult(CCommandResult::cancelled);
  } catch (...) {
    return FailedNoThrow(text::kCommandFailed, reason::kCommandFailed, MB_ICONSTOP);
  }
}

bool ShowCommandResult(const CCommandResult& result) noexcept {
  if (result.m_status == CCommandResult::failed && !result.m_strMessage.empty()) {
    try {
      AfxMessageBox(result.m_strMessage, result.m_nType);
    } catch (...) {
    }
  }
  return result.m_status == CCommandResult::done;
}

}  // namespace qov
