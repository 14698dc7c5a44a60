#pragma once
// The picture's grey levels between pixel centres, for finding the edges of
// the ink to a fraction of a pixel: a scan's or an anti-aliased drawing's
// edge pixels are grey in proportion to how much of them the ink covers.

#include <cstddef>
#include <cstdint>

#include "vector/VectorDrawing.h"

namespace qov {

class CInkSampler {
 public:
  // Over the locked 24-bit block at `block`; ink is what the threshold
  // command at `percent` makes black.
  CInkSampler(const std::byte* block, int percent);

  // The least of the three bytes, interpolated between the centres of the
  // four nearest pixels (pixel (i, j) covers [i, i + 1) × [j, j + 1), rows
  // from the top); 255 outside the picture.
  double Level(double x, double y) const;
  bool IsInk(const Point2& p) const { return Level(p.x, p.y) <= m_dThreshold; }

  // How far from p along the unit direction d the ink goes on, up to
  // `limit`: where the level rises past the threshold, interpolated
  // between steps of a quarter pixel. 0 when p is not in the ink.
  double EdgeDistance(const Point2& p, const Point2& d, double limit) const;

 private:
  double PixelLevel(std::int64_t x, std::int64_t y) const;

  const std::byte* m_pBits;
  std::int64_t m_nWidth;
  std::int64_t m_nHeight;
  std::uint64_t m_nStride;
  double m_dThreshold;
};

}  // namespace qov
