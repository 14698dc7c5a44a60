#pragma once
// The picture's true size: how many pixels a metre holds across and down, as
// the 40-byte header of a block keeps it (and a saved .bmp with it).

#include <cstddef>
#include <cstdint>

#include "platform/GlobalMemory.h"

namespace qov {

// Above this a resolution is taken for a damaged field: no scanner or
// printer comes near 25,400 pixels per inch.
inline constexpr std::uint32_t kMaxPelsPerMeter = 1'000'000;

// Pixels per metre across and down, as a .bmp header keeps them; 0 where the file said nothing.
struct DibResolution {
  std::uint32_t xPelsPerMeter = 0;
  std::uint32_t yPelsPerMeter = 0;
  bool Known() const { return xPelsPerMeter > 0 && yPelsPerMeter > 0; }
  friend bool operator==(const DibResolution&, const DibResolution&) = default;
};

// Of a locked block with a 40-byte header (a core header has none: returns unknown).
// A header that gives only one of the two, or one above kMaxPelsPerMeter
// (a negative one read as unsigned), is unknown too.
DibResolution GetDibResolution(const std::byte* block);
// Writes both fields of a 40-byte header; a core header is left as it is.
void SetDibResolution(std::byte* block, DibResolution resolution);
// Convenience for holders of a handle (locks it; unknown for null).
DibResolution GetDibResolution(HGLOBAL h);

}  // namespace qov
