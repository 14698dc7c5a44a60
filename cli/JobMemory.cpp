#include "cli/JobMemory.h"

#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <string>

#include "image/DibDecode.h"

namespace qov {
namespace {

constexpr std::uint64_t kWorkingMargin = 50u << 20;

// Width × height as a .bmp's information header declares them; 0 otherwise.
std::uint64_t DeclaredPixels(const std::string& input) {
  std::ifstream file(input, std::ios::binary);
  std::byte header[26] = {};
  if (!file.read(reinterpret_cast<char*>(header), sizeof header) || header[0] != std::byte{'B'} ||
      header[1] != std::byte{'M'}) {
    return 0;
  }
  const auto width = static_cast<std::int32_t>(dib::Get32(header + 18));
  const auto height = static_cast<std::int32_t>(dib::Get32(header + 22));
  return static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(width))) *
         static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(height)));
}

}  // namespace

std::uint64_t EstimateJobBytes(const std::string& input) {
  return 2 * 3 * DeclaredPixels(input) + kWorkingMargin;
}

}  // namespace qov
