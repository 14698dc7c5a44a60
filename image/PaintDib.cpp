// Drawing a packed bitmap into a device context.

#include <cstdint>

#include "image/DibBlock.h"

namespace qov {

int PaintDib(CDC* dc, const CRect& destRect, HGLOBAL h, const CRect& srcRect, void* palette) {
  if (!h)
    return 0;
  int result = 0;
  void* previousPalette = nullptr;
  {
    const CGlobalLock dib(h);
    if (!dib)
      return 0;
    const std::byte* info = dib.get();
    const std::byte* bits = FindDibBits(info);
    if (palette)
      previousPalette = dc->SelectPalette(palette, true);
    dc->SetStretchBltMode(COLORONCOLOR);
    // Bottom-up rows: the source origin is the lower-left corner.
    const std::int64_t height = DibHeight(info);
    const std::int64_t ySrc = height - srcRect.bottom;
    if (destRect.Width() == srcRect.Width() && destRect.Height() == srcRect.Height()) {
      // All the picture's scan lines, whatever its height, so that no row of
      // the source rectangle is left out.
      result =
          dc->SetDIBitsToDevice(destRect.left, destRect.top, destRect.Width(), destRect.Height(),
                                srcRect.left, ySrc, 0, height, bits, info, DIB_RGB_COLORS);
    } else {
      result = dc->StretchDIBits(destRect.left, destRect.top, destRect.Width(), destRect.Height(),
                                 srcRect.left, ySrc, srcRect.Width(), srcRect.Height(), bits, info,
                                 DIB_RGB_COLORS, SRCCOPY);
    }
  }
  if (palette)
    dc->SelectPalette(previousPalette, true);
  return result;
}

}  // namespace qov
