#pragma once
// One-dimensional error diffusion of the picture in place.

#include "image/QOV_V2Doc.h"

namespace qov {

// Visits rows 1 to H − 1 and columns 1 to W − 1 in raster order and sets each
// pixel black or white by its brightness corrected by the error carried from
// the previous pixel. Uses the size cached by the last UpdateImageSize; leaves
// m_curColor holding the colour last written.
void ErrorDiffusionPass(CQOV_V2Doc& doc);

}  // namespace qov
