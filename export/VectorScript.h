#pragma once
// The VectorScript text file: a preamble of drawing attributes, then for
// each pixel written its pen and fill colour and a unit square.

#include <cstddef>

#include "image/QOV_V2Doc.h"
#include "platform/File.h"

namespace qov {

// A pixel is written when R16 + 2 × G16 is below the limit, where a
// component v becomes v × 256 + 255; blue takes no part.
inline constexpr int kLimitAllColours = 196640;  // above every possible sum
inline constexpr int kLimitNoNearWhite = 185000;

// The archive's buffer: a picture's text is tens of megabytes, written in
// blocks of this size rather than one system call per 512 bytes.
inline constexpr std::size_t kVectorScriptBufferSize = 64 * 1024;

// Writes the picture's rows 1 to H − 1, columns 1 to W − 1 to `file`, open
// for writing (it stays open): the limit is kLimitAllColours for colour
// option 0 and kLimitNoNearWhite otherwise. File errors propagate as
// CFileException; what reached the file stays, the rest of the buffer is
// dropped. Reads the picture with LoadPixel and changes nothing.
void SaveVectorScript(CQOV_V2Doc& doc, CFile& file, int colorOption);

}  // namespace qov
