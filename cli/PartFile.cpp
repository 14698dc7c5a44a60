#include "cli/PartFile.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

namespace qov {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPartTag = ".qov-part-";

std::string HostName() {
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  return host;
}

// The part name of `output` without its process id.
std::string PartPrefix(const fs::path& output, const std::string& host) {
  return "." + output.filename().string() + "." + host + std::string(kPartTag);
}

// Whether the process named at the end of a part file is gone.
bool IsStale(const std::string& name, std::size_t prefixLength) {
  pid_t pid = 0;
  const char* end = name.data() + name.size();
  auto [ptr, ec] = std::from_chars(name.data() + prefixLength, end, pid);
  return ec == std::errc() && ptr == end && pid > 0 && kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::string PartName(const std::string& output) {
  const fs::path path(output);
  return (path.parent_path() / (PartPrefix(path, HostName()) + std::to_string(getpid()))).string();
}

void RemoveStaleParts(const std::vector<std::string>& outputs) {
  const std::string host = HostName();
  std::map<fs::path, std::set<std::string>> prefixes;  // by folder
  for (const std::string& output : outputs) {
    const fs::path path(output);
    prefixes[path.parent_path().empty() ? "." : path.parent_path()].insert(PartPrefix(path, host));
  }
  for (const auto& [folder, names] : prefixes) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      const std::size_t tag = name.rfind(kPartTag);
      if (tag == std::string::npos)
        continue;
      const std::size_t prefixLength = tag + kPartTag.size();
      if (names.count(name.substr(0, prefixLength)) && IsStale(name, prefixLength))
        unlink(it->path().c_str());
    }
  }
}

}  // namespace qov
