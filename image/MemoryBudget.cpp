// The memory budget: what the kernel, the address-space limit and the control
// group leave available, or a given limit.

#include "image/MemoryBudget.h"

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace qov {

namespace {

constexpr std::uint64_t kBytesPerPixel = 3;
// Left for the program itself, the commands' row buffers and the rest of
// the system.
constexpr std::uint64_t kMarginBytes = std::uint64_t{256} << 20;
constexpr double kPixelsPerMegapixel = 1e6;

struct PixelWords {
  const char* pixels;
  const char* megapixels;  // a printf format
};
constexpr PixelWords kEnglishWords{" pixels", "%.1f megapixels"};
constexpr PixelWords kJapaneseWords{" ピクセル", "%.1f メガピクセル"};

// Megapixels with one decimal; a count below a tenth of one in pixels.
std::string FormatPixels(std::uint64_t pixels, const PixelWords& words) {
  constexpr std::uint64_t kSmall = 100000;
  if (pixels < kSmall)
    return std::to_string(pixels) + words.pixels;
  char text[64];
  std::snprintf(text, sizeof text, words.megapixels,
                static_cast<double>(pixels) / kPixelsPerMegapixel);
  return text;
}

constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

// A figure in KiB from a file of "Key: value kB" lines (/proc/meminfo,
// /proc/self/status); nullopt when it is not there.
std::optional<std::uint64_t> KibibytesOf(const char* file, std::string_view key) {
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with(key) && line.size() > key.size() && line[key.size()] == ':')
      return std::strtoull(line.c_str() + key.size() + 1, nullptr, 10);
  }
  return std::nullopt;
}

std::uint64_t KernelAvailableBytes() {
  const std::optional<std::uint64_t> kibibytes = KibibytesOf("/proc/meminfo", "MemAvailable");
  return kibibytes ? *kibibytes * 1024 : kNoLimit;
}

// An address-space limit (ulimit -v) counts every mapping, used or not.
std::uint64_t AddressSpaceLeft() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
    return kNoLimit;
  const std::uint64_t used = KibibytesOf("/proc/self/status", "VmSize").value_or(0) * 1024;
  return limit.rlim_cur > used ? limit.rlim_cur - used : 0;
}

// The number in a control group's file; nullopt when it is missing or "max".
std::optional<std::uint64_t> ControlGroupNumber(const std::string& path) {
  std::ifstream in(path);
  std::uint64_t value = 0;
  if (in >> value)
    return value;
  return std::nullopt;
}

// The least that the limits of `group` and of every group above it leave,
// under the hierarchy mounted at `mount`.
std::uint64_t ControlGroupLeft(const std::string& mount, std::string group, const char* limitFile,
                               const char* usageFile) {
  std::uint64_t left = kNoLimit;
  for (;;) {
    const std::string folder = mount + group + "/";
    const std::optional<std::uint64_t> limit = ControlGroupNumber(folder + limitFile);
    const std::optional<std::uint64_t> usage = ControlGroupNumber(folder + usageFile);
    if (limit && usage)
      left = std::min(left, *limit > *usage ? *limit - *usage : 0);
    const std::size_t slash = group.find_last_of('/');
    if (group.empty() || slash == std::string::npos)
      return left;
    group.erase(slash);
  }
}

// What the process's control group lets it take still: cgroup v2's
// memory.max less memory.current, or the first version's memory controller's
// limit less its usage.
std::uint64_t ControlGroupMemoryLeft() {
  std::ifstream cgroups("/proc/self/cgroup");
  std::uint64_t left = kNoLimit;
  // "0::/path" for the unified hierarchy, "4:memory:/path" for the first
  // version's memory controller.
  for (std::string line; std::getline(cgroups, line);) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos)
      continue;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string group = line.substr(second + 1);
    if (line.compare(0, first, "0") == 0 && controllers.empty()) {
      left =
          std::min(left, ControlGroupLeft("/sys/fs/cgroup", group, "memory.max", "memory.current"));
    } else if (controllers == "memory") {
      left = std::min(left, ControlGroupLeft("/sys/fs/cgroup/memory", group,
                                             "memory.limit_in_bytes", "memory.usage_in_bytes"));
    }
  }
  return left;
}

}  // namespace

std::uint64_t AvailableMemoryBytes() {
  const std::uint64_t left =
      std::min({KernelAvailableBytes(), AddressSpaceLeft(), ControlGroupMemoryLeft()});
  // Nothing left is a figure too: every picture is refused.
  return left == kNoLimit ? 0 : std::max<std::uint64_t>(left, 1);
}

CMemoryBudget::CMemoryBudget() : m_maxPixels(std::numeric_limits<std::uint64_t>::max()) {
  const std::uint64_t available = AvailableMemoryBytes();
  // Without any figure only the format's own limits apply.
  if (available != 0)
    m_maxPixels = available > kMarginBytes ? (available - kMarginBytes) / kBytesPerPixel : 0;
}

CMemoryBudget CMemoryBudget::Megapixels(double megapixels) {
  return CMemoryBudget(static_cast<std::uint64_t>(std::floor(megapixels * kPixelsPerMegapixel)));
}

std::uint64_t CMemoryBudget::MaxLibraryAllocation() const {
  constexpr std::uint64_t kFloor = std::uint64_t{64} << 20;
  constexpr std::uint64_t kCeiling = std::uint64_t{1} << 40;
  const std::uint64_t pixels = std::min(m_maxPixels, kCeiling / 4);
  return std::clamp(4 * pixels, kFloor, kCeiling);
}

bool CMemoryBudget::Admit(std::uint64_t width, std::uint64_t height) {
  const bool fits = height == 0 || width <= m_maxPixels / height;
  if (!fits) {
    m_refusedWidth = width;
    m_refusedHeight = height;
  }
  return fits;
}

std::string CMemoryBudget::DescribeRefusal(Language language) const {
  // Both factors are below 2^32, so the product cannot overflow.
  const std::uint64_t pixels = m_refusedWidth * m_refusedHeight;
  const std::string size = std::to_string(m_refusedWidth) + " x " + std::to_string(m_refusedHeight);
  if (language == Language::Japanese) {
    return size + kJapaneseWords.pixels + " (" + FormatPixels(pixels, kJapaneseWords) +
           ")、上限は " + FormatPixels(m_maxPixels, kJapaneseWords);
  }
  return size + kEnglishWords.pixels + " (" + FormatPixels(pixels, kEnglishWords) +
         "), more than the limit of " + FormatPixels(m_maxPixels, kEnglishWords);
}

}  // namespace qov
