#pragma once
// Simple binarization of the picture in place.

#include "image/QOV_V2Doc.h"

namespace qov {

// Thresholds every pixel of rows 1 to H − 1 and columns 1 to W − 1 at
// `percent` as ThresholdPixel does, row by row, left to right. Uses the size
// cached by the last UpdateImageSize; does nothing without a picture.
void ThresholdPass(CQOV_V2Doc& doc, int percent);

}  // namespace qov
