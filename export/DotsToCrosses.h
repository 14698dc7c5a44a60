#pragma once
// Dots to crosses: every dark pixel becomes the two diagonals of its cell.

#include <cstdint>

#include "export/DxfWriter.h"
#include "image/QOV_V2Doc.h"

namespace qov {

// Scans rows 1 to H − 1 and in them columns 1 to W − 1, reading each pixel
// once, as LoadPixel does. A blue byte below 60 gives a cross of colour 7, 60 to
// 99 a cross of colour 4, 100 or more nothing. Leaves the last pixel read in
// m_curColor and changes no pixel.
void WriteDotsToCrosses(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H);

}  // namespace qov
