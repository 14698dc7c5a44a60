#pragma once
// The orientation and the resolution a JPEG's EXIF segment records.

#include <cstddef>
#include <cstdint>

#include "image/DibResolution.h"

namespace qov::import {

// The orientation tag (1 to 8) of the first image directory in an APP1
// segment's `data`, or `otherwise` when the segment is not EXIF or holds no
// valid one. Every offset is checked against `size`.
int ExifOrientation(const std::uint8_t* data, std::size_t size, int otherwise);

// The first image directory's resolution and its unit (inches when absent),
// as the stored picture's pels per metre; unknown when the segment is not
// EXIF, holds none or holds nonsense. Every offset is checked against `size`.
DibResolution ExifResolution(const std::uint8_t* data, std::size_t size);

}  // namespace qov::import
