#pragma once
// The orientation a JPEG's EXIF segment records.

#include <cstddef>
#include <cstdint>

namespace qov::import {

// The orientation tag (1 to 8) of the first image directory in an APP1
// segment's `data`, or `otherwise` when the segment is not EXIF or holds no
// valid one. Every offset is checked against `size`.
int ExifOrientation(const std::uint8_t* data, std::size_t size, int otherwise);

}  // namespace qov::import
