#pragma once
// Command routing: command identifiers bound to handlers and update handlers
// through message-map tables, and the boundary every command runs inside.
//
// Errors in platform/: files throw CFileException (cause, path, the system's
// text); memory and the clipboard answer null or false; the command
// boundary turns whatever a command lets escape into its CCommandResult.

#include <cstddef>
#include <optional>
#include <span>

#include "platform/CommandResult.h"
#include "platform/Guid.h"
#include "platform/Types.h"

namespace qov {

// What an update handler may set on a menu item or accelerator.
class CCmdUI {
 public:
  explicit CCmdUI(UINT id) : m_nID(id) {}
  virtual ~CCmdUI() = default;
  virtual void Enable(bool on = true) { m_bEnabled = on; }
  // 0 unchecked, 1 checked.
  virtual void SetCheck(int check = 1) { m_nCheck = check; }

  UINT m_nID;
  bool m_bEnabled = true;
  int m_nCheck = 0;
};

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;
  // With pCmdUI null, runs the handler of nID; otherwise runs its update
  // handler (a command with a handler and no update handler is enabled).
  // Returns true when this target (or one it routes to) handles nID.
  virtual bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI);
  // What the last command this target routed to left behind, which is then
  // forgotten; base: done. A view keeps what its commands leave.
  virtual CCommandResult TakeCommandResult() { return {}; }

  // Makes this an automation object whose dispatch interface is `dispatchIID`.
  void EnableAutomation(const IID& dispatchIID) { m_dispatchIID = dispatchIID; }
  // Null unless EnableAutomation was called.
  const IID* GetDispatchIID() const { return m_dispatchIID ? &*m_dispatchIID : nullptr; }

 private:
  std::optional<IID> m_dispatchIID;
};

// One row of a message map: a command handler or an update handler.
template <class T>
struct MessageMapEntry {
  UINT id;
  void (T::*onCommand)();
  void (T::*onUpdate)(CCmdUI*);
};

template <class T>
constexpr MessageMapEntry<T> OnCommand(UINT id, void (T::*handler)()) {
  return {id, handler, nullptr};
}

template <class T>
constexpr MessageMapEntry<T> OnUpdateCommandUI(UINT id, void (T::*handler)(CCmdUI*)) {
  return {id, nullptr, handler};
}

// Looks nID up in `map` for `target`, as CCmdTarget::OnCmdMsg describes.
template <class T>
bool DispatchMessageMap(T& target, std::span<const MessageMapEntry<T>> map, UINT nID,
                        CCmdUI* pCmdUI) {
  bool hasCommand = false;
  for (const auto& entry : map) {
    if (entry.id != nID)
      continue;
    if (pCmdUI && entry.onUpdate) {
      (target.*entry.onUpdate)(pCmdUI);
      return true;
    }
    if (!pCmdUI && entry.onCommand) {
      (target.*entry.onCommand)();
      return true;
    }
    hasCommand = hasCommand || entry.onCommand;
  }
  if (pCmdUI && hasCommand) {
    pCmdUI->Enable(true);
    return true;
  }
  return false;
}

// Asks the update handlers reachable from `root`; a command that nothing
// handles is disabled.
void UpdateCommandUI(CCmdTarget& root, CCmdUI& ui);

// The command boundary. Asks the update handler first and does nothing for
// a disabled command; runs the command and returns what it came to. Whatever
// the command lets escape becomes a failure with the framework's standard
// message (out of memory, a file error, anything else); a CUserException
// (the user has been told already) becomes a cancel. Shows nothing.
CCommandResult ExecuteCommand(CCmdTarget& root, UINT nID);

// The window's side of the boundary: a failure's message in a message box.
// True when the command was done. Never throws: a message that cannot be
// shown (no memory left even for its text) is given up.
bool ShowCommandResult(const CCommandResult& result) noexcept;

}  // namespace qov
