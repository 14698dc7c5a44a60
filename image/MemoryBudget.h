#pragma once
// The most pixels a picture may have before any memory is taken for it.

#include <cstdint>
#include <string>

#include "image/Language.h"

namespace qov {

// The memory this process can take now, in bytes: the least of what the
// kernel says is available (MemAvailable), what the address-space limit
// leaves (RLIMIT_AS less the current VmSize) and what the memory limits of
// its control group and the groups above it leave (cgroup v2: memory.max
// less memory.current, "max" for none; the first version's memory
// controller: limit_in_bytes less usage_in_bytes). 0 when none of them gives
// a figure.
std::uint64_t AvailableMemoryBytes();

class CMemoryBudget {
 public:
  // The default: the memory the process can take now (AvailableMemoryBytes),
  // minus a margin for the program and the commands' working rows, as
  // 24-bit pixels.
  CMemoryBudget();
  // An explicit limit, as `qov-convert --max-megapixels` and the settings
  // give it.
  static CMemoryBudget Megapixels(double megapixels);

  std::uint64_t MaxPixels() const { return m_maxPixels; }
  // The largest single buffer a picture library may take for its own use (a
  // strip, a tile, a chunk, a colour map): room for four bytes a pixel of
  // the largest admitted picture, at least 64 MiB (the largest strips real
  // scanners write) and at most 1 TiB.
  std::uint64_t MaxLibraryAllocation() const;

  // Whether a width × height picture fits; a refusal is remembered for
  // DescribeRefusal.
  bool Admit(std::uint64_t width, std::uint64_t height);
  // "13244 x 18732 pixels (248.1 megapixels), more than the limit of 100.0
  // megapixels", for the last refused picture.
  std::string DescribeRefusal(Language language = Language::English) const;

 private:
  explicit CMemoryBudget(std::uint64_t maxPixels) : m_maxPixels(maxPixels) {}

  std::uint64_t m_maxPixels;
  std::uint64_t m_refusedWidth = 0;
  std::uint64_t m_refusedHeight = 0;
};

}  // namespace qov
