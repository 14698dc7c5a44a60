#pragma once
// Reading a picture of any kind the program knows (.bmp, TIFF, PNG, JPEG,
// PNM) into the uniform 24-bit block. The kind is decided by the file's
// first bytes, never by its name; the names under which such files are
// offered are listed once in platform/PictureExtensions.h. The document
// reads through here; the routines are defined in image/import, beside the
// readers of the formats they hand each file to.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/PictureReadError.h"
#include "platform/File.h"
#include "platform/GlobalMemory.h"

namespace qov {

enum class PictureKind { Unknown, Bmp, Tiff, Png, Jpeg, Pnm };

// The kind that the first `size` bytes of a file name.
PictureKind DetectPictureKind(const std::byte* head, std::size_t size);

struct PictureReadOptions {
  int page = 1;              // of a multi-page file (TIFF), counted from 1
  double maxMegapixels = 0;  // 0: what the memory available at the time allows
};

// Reads the picture from `file`, positioned at its start, into a new 24-bit
// block (40-byte header, no colour table). Returns no block for a file that
// cannot be read, and the failure saying why; a picture the budget does not
// admit is refused before anything is allocated. A picture that was read
// comes with an empty failure but for its warning. Errors of the file
// system propagate as CFileException.
PictureReadResult ReadPictureFile(CFile& file, const PictureReadOptions& options);

// A page's width and height in pixels, as it will show (turned by its
// orientation).
struct PicturePageSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool operator==(const PicturePageSize&) const = default;
};

// The sizes of the pages of the picture in `file`, positioned at its start,
// in page order, when it is a TIFF file: the one kind that can hold more
// than one. Reads no pixels. Empty for a file of any other kind and for a
// TIFF whose header libtiff refuses. Errors of the file system propagate as
// CFileException.
std::vector<PicturePageSize> ListPictureFilePages(CFile& file);

}  // namespace qov
