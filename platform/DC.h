#pragma once
// A device context as the drawing code uses it: device-independent bitmaps
// drawn unstretched or stretched. The screen, the printer and the headless
// recorder each provide one.

#include <cstdint>
#include <vector>

#include "platform/Types.h"

namespace qov {

inline constexpr int BLACKONWHITE = 1;
inline constexpr int COLORONCOLOR = 3;
inline constexpr UINT DIB_RGB_COLORS = 0;
inline constexpr DWORD SRCCOPY = 0x00CC0020;

class CDC {
 public:
  virtual ~CDC() = default;

  // Returns the previous mode.
  virtual int SetStretchBltMode(int mode) = 0;

  // `info` is the start of a packed bitmap (its information header), `bits`
  // its first pixel row. Coordinates are logical units; ySrc counts from the
  // bitmap's lower-left corner. Returns the number of scan lines drawn.
  virtual int SetDIBitsToDevice(std::int64_t xDest, std::int64_t yDest, std::int64_t width,
                                std::int64_t height, std::int64_t xSrc, std::int64_t ySrc,
                                std::int64_t startScan, std::int64_t scanLines, const void* bits,
                                const void* info, UINT colorUse) = 0;

  // Returns the number of scan lines drawn.
  virtual int StretchDIBits(std::int64_t xDest, std::int64_t yDest, std::int64_t destWidth,
                            std::int64_t destHeight, std::int64_t xSrc, std::int64_t ySrc,
                            std::int64_t srcWidth, std::int64_t srcHeight, const void* bits,
                            const void* info, UINT colorUse, DWORD rop) = 0;

  // Palettes have no meaning on this platform's devices: selecting one keeps
  // nothing and returns null.
  // Straight lines from point to point, one device pixel wide, in the
  // colour 0xRRGGBB; the points are logical units, as bitmaps' destinations.
  virtual void Polyline(const std::vector<CPoint>& points, std::uint32_t rgb) = 0;
  virtual void* SelectPalette(void* /*palette*/, bool /*forceBackground*/) { return nullptr; }

  // The device origin, in device units, of logical (0, 0).
  virtual void SetViewportOrg(CPoint origin) { m_viewportOrg = origin; }
  CPoint GetViewportOrg() const { return m_viewportOrg; }

  virtual bool IsPrinting() const { return false; }

 private:
  CPoint m_viewportOrg;
};

}  // namespace qov
