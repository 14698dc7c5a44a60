#pragma once
// The blue-byte levels at which the DXF exports count a pixel as dark.

namespace qov {

// A neighbour counts as black, and a cross or join below it is drawn in the
// foreground colour.
inline constexpr int kBlackBelow = 60;
// A dot: it starts runs, links and joins, and counts as a dot behind.
inline constexpr int kDotBelow = 81;
// A pixel that gets a cross at all.
inline constexpr int kCrossBelow = 100;

}  // namespace qov
