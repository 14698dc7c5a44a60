#pragma once
// What every format's reader shares: the checks before the block is taken,
// the placing of stored rows by orientation, and pixel conversions. Internal
// to the image library.

#include <cstddef>
#include <cstdint>

#include "image/DibDecode.h"
#include "image/DibResolution.h"
#include "image/PictureFile.h"
#include "image/import/SourceFile.h"

namespace qov::import {

// A new zeroed 24-bit block for a width × height picture of `resolution`
// (both as shown), after the checks every format shares: a positive size,
// the budget, a size that a .bmp file can hold again. Null with `failure`
// set otherwise.
CGlobalOwner NewPictureBlock(std::uint64_t width, std::uint64_t height, DibResolution resolution,
                             CMemoryBudget& budget, PictureReadFailure& failure);

// The orientation tag's values (TIFF and EXIF share them): where the stored
// first row and first column are shown.
inline constexpr int kOrientationTopLeft = 1;
inline constexpr int kOrientationLeftBottom = 8;
// Orientations 5 to 8 show stored rows as columns.
bool SwapsAxes(int orientation);

// The lengths the formats count pixels per, in metres.
inline constexpr double kMetresPerInch = 0.0254;
inline constexpr double kMetresPerCentimetre = 0.01;
inline constexpr double kMetre = 1;

// `x` across and `y` down pixels per `unitMetres` as pels per metre, each
// rounded to the nearest; unknown unless both come out from 1 to
// kMaxPelsPerMeter (zero, negative and NaN densities included).
DibResolution ResolutionPerUnit(double x, double y, double unitMetres);

// The resolution unit tag's values (TIFF and EXIF share them too). Without
// the tag the unit is the inch; "none" gives only the pixels' aspect ratio.
inline constexpr int kResolutionUnitNone = 1;
inline constexpr int kResolutionUnitInch = 2;
inline constexpr int kResolutionUnitCentimetre = 3;
// ResolutionPerUnit for such a unit; unknown for "none" and unknown units.
DibResolution ResolutionPerTiffUnit(double x, double y, int unit);

// A stored picture's resolution as shown: swapped for orientations 5 to 8.
DibResolution OrientedResolution(DibResolution stored, int orientation);

// Places the stored rows of a picture into a locked block whose size is the
// shown one (width and height swapped for orientations 5 to 8). An unknown
// orientation counts as top-left.
class COrientedRows {
 public:
  COrientedRows(std::byte* block, int orientation, std::uint64_t storedWidth,
                std::uint64_t storedHeight);

  // Stored row `row` (counted from the top), storedWidth pixels of blue,
  // green and red.
  void PutRow(std::uint64_t row, const std::uint8_t* bgr) const;

  // Has `fill` write stored row `row` as PutRow takes it: straight into the
  // block when the orientation keeps stored rows whole, which saves a pass
  // over the picture; otherwise into `scratch`, then placed.
  template <class Fill>
  void FillRow(std::uint64_t row, std::uint8_t* scratch, Fill fill) const {
    std::uint8_t* direct = WholeRow(row);
    fill(direct ? direct : scratch);
    if (!direct)
      PutRow(row, scratch);
  }

 private:
  // Where stored row `row` lies whole in the block, or null.
  std::uint8_t* WholeRow(std::uint64_t row) const;
  std::uint8_t* Shown(std::uint64_t x, std::uint64_t y) const;

  dib::TargetImage m_target;
  int m_orientation;
  std::uint64_t m_storedWidth;
  std::uint64_t m_storedHeight;
};

// A colour over white, `alpha` 0 (transparent) to 255: rounded as
// c·a/255 + 255·(255 − a)/255.
inline std::uint8_t OverWhite(unsigned colour, unsigned alpha) {
  return static_cast<std::uint8_t>((colour * alpha + 255 * (255 - alpha) + 127) / 255);
}

// The readers of the formats other than .bmp; `in` is at the file's start.
// Only TIFF has pages.
PictureReadResult ReadTiffPicture(CSourceFile& in, const PictureReadOptions& options,
                                  CMemoryBudget& budget);
// The sizes of a TIFF file's pages, empty when libtiff refuses its header.
std::vector<PicturePageSize> ListTiffPages(CSourceFile& in);
PictureReadResult ReadPngPicture(CSourceFile& in, CMemoryBudget& budget);
PictureReadResult ReadJpegPicture(CSourceFile& in, CMemoryBudget& budget);
PictureReadResult ReadPnmPicture(CSourceFile& in, CMemoryBudget& budget);

}  // namespace qov::import
