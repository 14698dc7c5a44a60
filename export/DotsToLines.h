#pragma once
// Dot-to-dot lines: touching dark pixels joined by segments, a short stroke
// for a dot joined to nothing.

#include <cstdint>

#include "export/DxfWriter.h"
#include "image/QOV_V2Doc.h"

namespace qov {

// Examines the centres of rows 1 to H − 2 and columns 1 to W − 2. A centre
// with a blue byte below 81 is joined to its right, lower, lower-right and
// lower-left neighbours whose blue byte is below 60, in colour 7 (centre
// below 60) or 4; with no join and no dot above-left, left or above, it gets
// a stroke of its own. Every centre makes its reads in one fixed order, and
// a read outside the picture repeats the one before it. Changes no pixel.
void WriteDotsToLines(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H);

}  // namespace qov
