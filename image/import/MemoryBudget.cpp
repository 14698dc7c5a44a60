// The memory budget: what /proc/meminfo says is available, or a given limit.

#include "image/import/MemoryBudget.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>

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

}  // namespace

std::uint64_t AvailableMemoryBytes() {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  std::uint64_t kibibytes = 0;
  std::string unit;
  while (meminfo >> key >> kibibytes >> unit) {
    if (key == "MemAvailable:")
      return kibibytes * 1024;
  }
  return 0;
}

CMemoryBudget::CMemoryBudget() : m_maxPixels(std::numeric_limits<std::uint64_t>::max()) {
  const std::uint64_t available = AvailableMemoryBytes();
  // Without the kernel's figure only the format's own limits apply.
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
