#pragma once
// What a command came to: the one way a command reports. The command
// boundary returns it; the window shows a failure's message in a message
// box, qov-convert turns the status into its exit status and prints the
// reason. Commands and the writers they call never show a failure themselves.

#include <string>
#include <utility>

#include "platform/Types.h"

namespace qov {

class CCommandResult {
 public:
  enum Status {
    done,       // ran to its end
    disabled,   // not run: nothing handles it, or its update handler disabled it
    cancelled,  // the user (or the script answering for one) cancelled a dialog
    failed,     // see m_strMessage and m_strReason
  };

  CCommandResult() = default;
  explicit CCommandResult(Status status) : m_status(status) {}
  // A failure: `message` is what the window shows (with icon `type`), `reason`
  // the one-line English text of the batch converter.
  static CCommandResult Failed(std::string message, std::string reason, UINT type = MB_OK) {
    CCommandResult result(failed);
    result.m_strMessage = std::move(message);
    result.m_strReason = std::move(reason);
    result.m_nType = type;
    return result;
  }

  Status m_status = done;
  std::string m_strMessage;
  std::string m_strReason;
  UINT m_nType = MB_OK;
};

}  // namespace qov
