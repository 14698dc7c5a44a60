#pragma once
// The outlines of the areas wider than the widest pen: closed paths along
// the edges between area pixels and the rest, outer edges and holes alike.

#include <vector>

#include "vector/PixelGrid.h"
#include "vector/VectorDrawing.h"

namespace qov {

// Each outline runs through the middles of the pixel edges it follows, its
// last point repeating its first. Area pixels are those with kAreaBit;
// their four other high bits mark the edges taken.
std::vector<std::vector<Point2>> TraceAreaOutlines(CPixelGrid& grid);

}  // namespace qov
