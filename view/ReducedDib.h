#pragma once
// Drawing a picture smaller than its pixels, so that thin dark lines stay.

#include "platform/DC.h"
#include "platform/GlobalMemory.h"

namespace qov {

// Draws the part srcRect of the 24-bit picture in h into destRect of dc, the
// picture first reduced by `factor` on each axis: each pixel of the reduced
// picture takes the least blue, green and red of its factor × factor block
// (cut at srcRect's edges), so a one-pixel black line on white stays black.
// The reduced picture is stretched to destRect when their sizes differ.
// Returns the scan lines drawn; 0 for a null handle, an empty rectangle or
// when memory for the reduced picture cannot be had.
int PaintDibReduced(CDC* dc, const CRect& destRect, HGLOBAL h, const CRect& srcRect, int factor);

}  // namespace qov
