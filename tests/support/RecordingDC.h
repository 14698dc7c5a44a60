#pragma once
// A device context that records every drawing call and can also render
// them into an in-memory picture of the client area (blue, green, red bytes
// per device pixel, top row first), so that tests can compare what a person
// would see.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/DC.h"

namespace qov {

class RecordingDC : public CDC {
 public:
  struct Call {
    enum Kind { SetDIBits, Stretch, Polyline } kind;
    std::int64_t xDest, yDest, destWidth, destHeight;
    std::int64_t xSrc, ySrc, srcWidth, srcHeight;
    std::int64_t startScan, scanLines;
    int stretchMode;
    std::vector<CPoint> points = {};  // Polyline
    std::uint32_t rgb = 0;            // Polyline
  };

  // Without a size nothing is rendered, only recorded.
  RecordingDC() = default;
  RecordingDC(std::int64_t width, std::int64_t height, bool printing = false);

  const std::vector<Call>& Calls() const { return m_calls; }
  int StretchMode() const { return m_nStretchMode; }
  // Rendered pixel (device coordinates); white where nothing was drawn.
  struct Rgb {
    std::uint8_t b, g, r;
    friend bool operator==(const Rgb&, const Rgb&) = default;
  };
  Rgb PixelAt(std::int64_t x, std::int64_t y) const;
  std::int64_t Width() const { return m_width; }
  std::int64_t Height() const { return m_height; }

  int SetStretchBltMode(int mode) override;
  int SetDIBitsToDevice(std::int64_t xDest, std::int64_t yDest, std::int64_t width,
                        std::int64_t height, std::int64_t xSrc, std::int64_t ySrc,
                        std::int64_t startScan, std::int64_t scanLines, const void* bits,
                        const void* info, UINT colorUse) override;
  int StretchDIBits(std::int64_t xDest, std::int64_t yDest, std::int64_t destWidth,
                    std::int64_t destHeight, std::int64_t xSrc, std::int64_t ySrc,
                    std::int64_t srcWidth, std::int64_t srcHeight, const void* bits,
                    const void* info, UINT colorUse, DWORD rop) override;
  // Recorded only: the rendered picture shows bitmaps.
  void Polyline(const std::vector<CPoint>& points, std::uint32_t rgb) override;
  bool IsPrinting() const override { return m_bPrinting; }

 private:
  std::vector<Call> m_calls;
  int m_nStretchMode = BLACKONWHITE;
  std::int64_t m_width = 0;
  std::int64_t m_height = 0;
  bool m_bPrinting = false;
  std::vector<Rgb> m_pixels;
};

}  // namespace qov
