#pragma once
// Reading any common .bmp variant into the uniform 24-bit block, and writing
// a block back as a .bmp file.

#include <string>

#include "image/MemoryBudget.h"
#include "image/PictureReadError.h"
#include "platform/File.h"
#include "platform/GlobalMemory.h"

namespace qov {

// Reads the bitmap from `file`, positioned at its start, into a new 24-bit
// block (40-byte header, no colour table). Returns no block for a file that
// is not a readable bitmap, with the failure's reason set; errors of the
// file system propagate as CFileException. A picture that `budget` does not
// admit is refused (OverBudget) before anything is allocated. A picture read
// whole has no warning; run-length data that ends before its last row is
// read as far as it goes, the rest black, with the warning TruncatedPixels.
PictureReadResult ReadDibFile(CFile& file, CMemoryBudget* budget = nullptr);

// Writes block h as a .bmp file; false when nothing was written (null block,
// a header other than 40 bytes, a size that does not fit the file format).
// File errors propagate as CFileException.
bool WriteDibFile(HGLOBAL h, CFile& file);

// Converts any packed bitmap (a clipboard's CF_DIB: 12-, 40-, 52-, 56-, 64-,
// 108- or 124-byte headers; 1, 4, 8, 16, 24 or 32 bits; colour tables,
// run-length data, bit-field masks) into a new 24-bit block; no block when
// it cannot be converted, with the failure's reason set. Every size is
// checked against `size`, the real length of the data.
PictureReadResult ConvertDibTo24(const std::byte* data, std::size_t size);

}  // namespace qov
