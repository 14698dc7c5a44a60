#pragma once
// Reading a picture of any kind the program knows (.bmp, TIFF, PNG, JPEG,
// PNM) into the uniform 24-bit block. The kind is decided by the file's
// first bytes, never by its name; the names under which such files are
// offered are listed once in platform/PictureExtensions.h.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/DibFile.h"
#include "image/import/MemoryBudget.h"

namespace qov {

enum class PictureKind { Unknown, Bmp, Tiff, Png, Jpeg, Pnm };

// The kind that the first `size` bytes of a file name.
PictureKind DetectPictureKind(const std::byte* head, std::size_t size);

struct PictureReadOptions {
  int page = 1;              // of a multi-page file (TIFF), counted from 1
  double maxMegapixels = 0;  // 0: what the memory available at the time allows
};

// Why a picture could not be read: the reason, a library's particulars in
// English, and for OverBudget the budget that refused the picture.
struct PictureReadFailure {
  DibReadError reason = DibReadError::None;
  std::string detail;
  std::optional<CMemoryBudget> refusal;
  // For a picture that was read: TruncatedPixels when its data ended early
  // and the rest was left black (run-length .bmp files), else None.
  DibReadError warning = DibReadError::None;
};

// "the picture file is damaged: Not a JPEG file" — the reason's text, then
// the particulars when there are any. The libraries speak English only, so
// the Japanese text leaves their particulars out; the budget's size and
// limit it gives in Japanese.
std::string DescribePictureReadFailure(const PictureReadFailure& failure,
                                       Language language = Language::English);

// Reads the picture from `file`, positioned at its start, into a new 24-bit
// block (40-byte header, no colour table) owned by the caller. Returns null
// for a file that cannot be read and sets *failure; a picture the budget does
// not admit is refused before anything is allocated. A picture that was read
// leaves *failure empty but for its warning. Errors of the file
// system propagate as CFileException.
HGLOBAL ReadPictureFile(CFile& file, const PictureReadOptions& options,
                        PictureReadFailure* failure = nullptr);

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
