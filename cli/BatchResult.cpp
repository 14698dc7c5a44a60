#include "cli/BatchResult.h"

#include <unistd.h>

#include <charconv>
#include <cstdlib>

namespace qov {
namespace {

constexpr std::string_view kStatus = "status=";
constexpr std::string_view kReason = " reason=";

}  // namespace

std::string FormatBatchResult(const BatchResult& result) {
  return std::string(kStatus) + std::to_string(result.status) + std::string(kReason) +
         result.reason + '\n';
}

std::optional<BatchResult> ParseBatchResult(const std::string& record) {
  const std::string_view text(record);
  if (!text.starts_with(kStatus) || !text.ends_with('\n'))
    return std::nullopt;
  BatchResult result;
  const char* first = text.data() + kStatus.size();
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, result.status);
  const std::string_view rest(end, static_cast<std::size_t>(last - end));
  if (error != std::errc() || end == first || !rest.starts_with(kReason))
    return std::nullopt;
  result.reason = std::string(rest.substr(kReason.size(), rest.size() - kReason.size() - 1));
  return result;
}

void SendBatchResult(const BatchResult& result) {
  const char* name = std::getenv(kResultFdVariable);
  int fd = -1;
  if (name == nullptr ||
      std::from_chars(name, name + std::char_traits<char>::length(name), fd).ec != std::errc() ||
      fd < 0)
    return;
  const std::string record = FormatBatchResult(result);
  // Shorter than a pipe's buffer, so written whole; when the run is gone
  // there is no one left to tell.
  const ssize_t written = write(fd, record.data(), record.size());
  static_cast<void>(written);
}

}  // namespace qov
