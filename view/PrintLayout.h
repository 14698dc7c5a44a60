#pragma once
// Where the whole picture goes on a printed page.

#include "image/DibResolution.h"
#include "platform/Types.h"

namespace qov {

// The rectangle, in device units, of a picture of `picture` pixels on a page
// whose printable area is `page` on a device of `logPixels` pixels per inch:
// at its true size from `resolution` (kAssumedMmPerPixel a pixel when it is
// unknown), scaled down, keeping its proportions, when that is larger than
// the page, never enlarged beyond it; centred on the page. Empty for an empty
// picture, page or device resolution.
CRect PicturePageRect(const CRect& page, CSize logPixels, CSize picture, DibResolution resolution);

}  // namespace qov
