#pragma once
// Thins the strokes to lines one pixel wide that keep their connections.

#include <cstdint>

#include "vector/PixelGrid.h"

namespace qov {

// Cell bits of the working grid.
inline constexpr std::uint8_t kStrokeBit = 0x01;   // a stroke pixel, thinned in place
inline constexpr std::uint8_t kQueuedBit = 0x02;   // in the thinning's list
inline constexpr std::uint8_t kVisitedBit = 0x04;  // taken into a path
inline constexpr std::uint8_t kAreaBit = 0x80;     // inside an area wider than the widest pen

// Removes kStrokeBit from border pixels, alternately from the south-east and
// the north-west, until only lines of single pixels are left; areas count as
// white. Then removes the corner pixel of every staircase step, so that each
// line pixel has two neighbours.
void ThinStrokes(CPixelGrid& grid);

}  // namespace qov
