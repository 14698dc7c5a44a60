// TIFF pictures through libtiff: the page asked for, its orientation, its
// rows into a new block.

#include <algorithm>
#include <limits>
#include <utility>

#include "image/import/PictureBlock.h"
#include "image/import/TiffFile.h"

namespace qov::import {

namespace {

// libtiff's own buffers (a strip, a tile, a colour map) are bounded by the
// budget too.
tmsize_t MaxAllocation(const CMemoryBudget& budget) {
  return static_cast<tmsize_t>(budget.MaxLibraryAllocation());
}

// The resolution tags as the stored picture's pels per metre; the unit
// defaults to the inch.
DibResolution TiffResolution(TIFF* tif) {
  float x = 0, y = 0;
  std::uint16_t unit = RESUNIT_INCH;
  if (!TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x) || !TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y))
    return {};
  TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
  return ResolutionPerTiffUnit(x, y, unit);
}

PictureReadResult Refuse(DibReadError reason, const std::string& detail) {
  PictureReadResult read;
  read.failure.reason = reason;
  read.failure.detail = detail;
  return read;
}

// The page's size as it shows, turned by its orientation.
PicturePageSize OrientedSize(TIFF* tif) {
  std::uint32_t width = 0, height = 0;
  std::uint16_t orientation = ORIENTATION_TOPLEFT;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
  return SwapsAxes(orientation) ? PicturePageSize{height, width} : PicturePageSize{width, height};
}

}  // namespace

std::vector<PicturePageSize> ListTiffPages(CSourceFile& in) {
  const CTiffFile tiff(in, MaxAllocation(CMemoryBudget()));
  std::vector<PicturePageSize> pages;
  if (!tiff)
    return pages;
  // libtiff stops at the last page, and at a chain of pages that loops.
  do
    pages.push_back(OrientedSize(tiff.get()));
  while (TIFFReadDirectory(tiff.get()));
  return pages;
}

PictureReadResult ReadTiffPicture(CSourceFile& in, const PictureReadOptions& options,
                                  CMemoryBudget& budget) {
  const tmsize_t maxAllocation = MaxAllocation(budget);
  const CTiffFile tiff(in, maxAllocation);
  if (!tiff)
    return Refuse(DibReadError::CorruptPicture, tiff.Error());
  if (options.page < 1 || !TIFFSetDirectory(tiff.get(), static_cast<tdir_t>(options.page - 1))) {
    return Refuse(DibReadError::NoSuchPage,
                  "page " + std::to_string(options.page) + " of " +
                      std::to_string(TIFFNumberOfDirectories(tiff.get())));
  }
  std::uint32_t width = 0, height = 0;
  std::uint16_t orientation = ORIENTATION_TOPLEFT;
  TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ORIENTATION, &orientation);
  const bool swapped = SwapsAxes(orientation);
  PictureReadResult read;
  CGlobalOwner block = NewPictureBlock(swapped ? height : width, swapped ? width : height,
                                       OrientedResolution(TiffResolution(tiff.get()), orientation),
                                       budget, read.failure);
  if (!block)
    return read;
  bool unsupported = false;
  std::string detail;
  {
    const CGlobalLock lock(block.get());
    const COrientedRows rows(lock.get(), orientation, width, height);
    if (ReadTiffRows(tiff, rows, maxAllocation, unsupported, detail)) {
      read.block = std::move(block);
      return read;
    }
  }
  if (unsupported)
    return Refuse(DibReadError::UnsupportedPicture, detail);
  return Refuse(DibReadError::CorruptPicture, tiff.Error());
}

}  // namespace qov::import
