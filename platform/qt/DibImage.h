#pragma once
// Packed device-independent bitmaps and QImage: a part of a bitmap as an
// image for drawing, and any image as a new 24-bit block.

#include <QImage>
#include <QRect>
#include <cstdint>

#include "platform/GlobalMemory.h"

namespace qov {

// What of a bitmap's pixel data a drawing call can reach: the information
// header (with its colour table after it) and the rows startScan to
// startScan + scanLines − 1, counted from the bottom row, starting at bits.
struct DibSource {
  const void* info;
  const void* bits;
  std::int64_t startScan;
  std::int64_t scanLines;
};

// The part `rect` of the bitmap as an RGB32 image, `rect` given with its y
// counted upwards from the bottom row as the drawing calls count it, and
// limited to the bitmap and the rows that `src` carries (*drawn says which
// part of `rect` that is, in rect-relative coordinates, top-down). A null
// image when nothing is left or the bitmap's kind is not one this draws
// (1, 4, 8, 24 or 32 bits per pixel, uncompressed).
QImage DibPartToImage(const DibSource& src, QRect rect, QRect* drawn);

// Whether `size` bytes at `p` hold a whole uncompressed bitmap that
// DibPartToImage draws: a header of 40 to 124 bytes, 1, 4, 8, 24 or 32 bits
// per pixel, its colour table and every pixel row inside `size`. Sets
// *bitsOffset to where the rows start.
bool IsWholeDib(const std::byte* p, std::size_t size, std::size_t* bitsOffset);

// A new block holding `image` as a 24-bit bitmap (40-byte header, no colour
// table), transparent parts over white. Null when the image is empty or too
// large for a block.
CGlobalOwner ImageToDib24(const QImage& image);

}  // namespace qov
