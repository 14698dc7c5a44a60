#pragma once
// Chamfer distances (3 for a step across, 4 for a diagonal one) in a byte
// a pixel, saturating at 255.

#include "vector/PixelGrid.h"

namespace qov {

// The chamfer units of one pixel's step.
inline constexpr int kChamferStep = 3;

// Lowers every cell to the least of itself and each neighbour's value plus
// the step to it, over the whole picture in two passes. Seeds are the cells
// at 0; the border counts as 0 too.
void PropagateChamfer(CPixelGrid& grid);

// Spreads each cell's value to its dark neighbours (non-zero in `dark`)
// less the step to them, keeping the greatest, in two passes: a cell ends
// non-zero when it lies within a seed's value of that seed.
void PropagateReach(CPixelGrid& grid, const CPixelGrid& dark);

// Turns a mask (non-zero dark) into the distance of each dark pixel from the
// nearest white one; white stays 0.
void DistanceFromWhite(CPixelGrid& grid);

// The most common half width of the strokes in pixels: the distance that
// most ridge pixels (no neighbour farther from white) have, below `capUnits`.
// 0 when there are none.
double MeasureHalfPen(const CPixelGrid& distance, int capUnits);

}  // namespace qov
