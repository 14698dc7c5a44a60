#pragma once
// A device context over a QPainter: the screen's, the printer's or an
// image's. Bitmaps are drawn without smoothing, so that an enlarged pixel is
// a solid square.

#include <QPainter>
#include <QTransform>

#include "platform/DC.h"

namespace qov {

class QtDC : public CDC {
 public:
  QtDC(QPainter& painter, bool printing);

  int SetStretchBltMode(int mode) override;
  int SetDIBitsToDevice(std::int64_t xDest, std::int64_t yDest, std::int64_t width,
                        std::int64_t height, std::int64_t xSrc, std::int64_t ySrc,
                        std::int64_t startScan, std::int64_t scanLines, const void* bits,
                        const void* info, UINT colorUse) override;
  int StretchDIBits(std::int64_t xDest, std::int64_t yDest, std::int64_t destWidth,
                    std::int64_t destHeight, std::int64_t xSrc, std::int64_t ySrc,
                    std::int64_t srcWidth, std::int64_t srcHeight, const void* bits,
                    const void* info, UINT colorUse, DWORD rop) override;
  void SetViewportOrg(CPoint origin) override;
  void Polyline(const std::vector<CPoint>& points, std::uint32_t rgb) override;
  bool IsPrinting() const override { return m_bPrinting; }

 private:
  int Draw(const QRect& dest, const QRect& src, std::int64_t startScan, std::int64_t scanLines,
           const void* bits, const void* info);

  QPainter& m_painter;
  QTransform m_base;
  bool m_bPrinting;
  int m_nStretchMode = BLACKONWHITE;
};

}  // namespace qov
