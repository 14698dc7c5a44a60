#include "vector/PixelGrid.h"

#include <cmath>

namespace qov {

std::uint8_t CPixelGrid::AtPoint(double x, double y) const {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  if (!(fx >= 0 && fy >= 0 && fx < m_nWidth && fy < m_nHeight))
    return 0;
  return at(static_cast<std::int32_t>(fx), static_cast<std::int32_t>(fy));
}

std::ptrdiff_t CPixelGrid::NeighbourOffset(int k) const {
  const std::ptrdiff_t s = Stride();
  const std::ptrdiff_t offsets[8] = {-s, -s + 1, 1, s + 1, s, s - 1, -1, -s - 1};
  return offsets[k];
}

unsigned CPixelGrid::NeighbourBits(std::size_t index, std::uint8_t mask) const {
  const std::ptrdiff_t s = Stride();
  const std::uint8_t* p = m_cells.data() + index;
  const std::uint8_t cells[8] = {p[-s], p[-s + 1], p[1],  p[s + 1],
                                 p[s],  p[s - 1],  p[-1], p[-s - 1]};
  unsigned bits = 0;
  for (int k = 0; k < 8; ++k) {
    if (cells[k] & mask)
      bits |= 1u << k;
  }
  return bits;
}

}  // namespace qov
