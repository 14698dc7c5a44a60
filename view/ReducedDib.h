#pragma once
// Drawing a picture smaller than its pixels, so that thin dark lines stay.

#include "platform/DC.h"
#include "platform/GlobalMemory.h"

namespace qov {

// The part srcRect (top counted from the top) of the 24-bit picture in h,
// reduced by `factor` on each axis, as a new 24-bit block owned by the
// caller: each of its pixels takes the least blue, green and red of its
// factor × factor block (cut at srcRect's edges), so a one-pixel black line
// on white stays black. Null for a null handle, an empty rectangle or when
// memory for it cannot be had.
CGlobalOwner ReduceDib(HGLOBAL h, const CRect& srcRect, int factor);

// Draws the part srcRect of the picture in h, reduced as ReduceDib reduces
// it, into destRect of dc; stretched when their sizes differ. Returns the
// scan lines drawn; 0 when there is nothing to draw (see ReduceDib).
int PaintDibReduced(CDC* dc, const CRect& destRect, HGLOBAL h, const CRect& srcRect, int factor);

}  // namespace qov
