#pragma once
// Reduction of black areas to their rims.

#include "image/QOV_V2Doc.h"

namespace qov {

// Does what MarkOutlinePixel does over x from 2 to W − 2 and y from 2 to
// H − 2, row by row, left to right, under one lock. Uses the size cached by
// the last UpdateImageSize. The result does not depend on the visiting
// order, and a second pass changes nothing more.
void OutlinePass(CQOV_V2Doc& doc);

}  // namespace qov
