#pragma once
// How the qov-convert that converts one input of a run over many tells the
// run how it ended: one record, "status=N reason=TEXT" and a newline, on the
// descriptor that the variable QOV_CONVERT_RESULT_FD names. TEXT runs to
// the record's last newline, so a reason may hold any byte a file name
// does. Standard error stays the people's.

#include <optional>
#include <string>

namespace qov {

inline constexpr const char* kResultFdVariable = "QOV_CONVERT_RESULT_FD";

struct BatchResult {
  int status = 0;      // the exit status
  std::string reason;  // empty when done
  friend bool operator==(const BatchResult&, const BatchResult&) = default;
};

std::string FormatBatchResult(const BatchResult& result);
// Null for anything that is not one whole record.
std::optional<BatchResult> ParseBatchResult(const std::string& record);

// Writes the record where kResultFdVariable says, and nothing when it is
// not set (the one-picture form run by a person or a script).
void SendBatchResult(const BatchResult& result);

}  // namespace qov
