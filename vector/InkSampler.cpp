#include "vector/InkSampler.h"

#include <algorithm>
#include <cmath>

#include "image/DibBlock.h"

namespace qov {

CInkSampler::CInkSampler(const std::byte* block, int percent)
    : m_pBits(FindDibBits(block)),
      m_nWidth(static_cast<std::int32_t>(DibWidth(block))),
      m_nHeight(static_cast<std::int32_t>(DibHeight(block))),
      m_nStride(DibRowStride(24, m_nWidth)),
      m_dThreshold(percent * 2.55) {}

double CInkSampler::PixelLevel(std::int64_t x, std::int64_t y) const {
  if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
    return 255;
  const std::byte* p = m_pBits + static_cast<std::uint64_t>(m_nHeight - 1 - y) * m_nStride +
                       static_cast<std::uint64_t>(x) * 3;
  return static_cast<double>(std::min({p[0], p[1], p[2]}));
}

double CInkSampler::Level(double x, double y) const {
  const double fx = x - 0.5, fy = y - 0.5;
  const double x0 = std::floor(fx), y0 = std::floor(fy);
  const double u = fx - x0, v = fy - y0;
  const auto i = static_cast<std::int64_t>(x0), j = static_cast<std::int64_t>(y0);
  const double top = PixelLevel(i, j) * (1 - u) + PixelLevel(i + 1, j) * u;
  const double bottom = PixelLevel(i, j + 1) * (1 - u) + PixelLevel(i + 1, j + 1) * u;
  return top * (1 - v) + bottom * v;
}

double CInkSampler::EdgeDistance(const Point2& p, const Point2& d, double limit) const {
  constexpr double kStep = 0.25;
  double before = Level(p.x, p.y);
  if (before > m_dThreshold)
    return 0;
  for (double t = kStep; t <= limit; t += kStep) {
    const double level = Level(p.x + t * d.x, p.y + t * d.y);
    if (level > m_dThreshold)
      return t - kStep + kStep * (m_dThreshold - before) / (level - before);
    before = level;
  }
  return limit;
}

}  // namespace qov
