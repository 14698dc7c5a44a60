#pragma once
// The dark pixels of the picture, cleaned of specks and pinholes.

#include <cstddef>
#include <cstdint>

#include "vector/PixelGrid.h"

namespace qov {

// Sets the cell of every pixel that the threshold command would make black
// at `percent` to 1 and every other to 0. `block` is a locked 24-bit block.
void MarkDarkPixels(const std::byte* block, int percent, CPixelGrid& mask);

// Clears dark regions (8-connected) of fewer than `speckArea` pixels and
// fills white holes (4-connected, not reaching the picture's edge) of fewer
// than `pinholeArea`. Cells are 1 for dark, 0 for white.
void RemoveSpecksAndPinholes(CPixelGrid& mask, std::int64_t speckArea, std::int64_t pinholeArea);

}  // namespace qov
