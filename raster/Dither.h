#pragma once
// Ordered dithering of the picture in place: square blocks painted with a
// fixed pattern chosen by the block's mean brightness.

#include "image/QOV_V2Doc.h"

namespace qov {

// 3 × 3 blocks, black and white, eight levels. Covers columns 3 to
// 3 × (W / 3) − 1 and rows 3 to 3 × (H / 3) − 1.
void Dither1Pass(CQOV_V2Doc& doc);
// 2 × 2 blocks, black, grey (80, 80, 80) and white, eight levels. Covers
// columns 2 to 2 × (W / 2) − 1 and rows 2 to 2 × (H / 2) − 1.
void Dither2Pass(CQOV_V2Doc& doc);

// Both use the size cached by the last UpdateImageSize and leave m_curColor
// holding the colour of the last pattern pixel written.

}  // namespace qov
