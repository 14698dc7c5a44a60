#include "vector/PixelGrid.h"

#include <cmath>
#include <cstring>

namespace qov {

CPixelGrid::CPixelGrid(std::int32_t width, std::int32_t height)
    : m_nWidth(width),
      m_nHeight(height),
      m_cells(new std::uint8_t[static_cast<std::size_t>(width + 2) *
                               static_cast<std::size_t>(height + 2)]) {
  const auto stride = static_cast<std::size_t>(width + 2);
  std::memset(&m_cells[0], 0, stride);
  std::memset(&m_cells[Index(-1, height)], 0, stride);
  for (std::int32_t y = 0; y < height; ++y) {
    at(-1, y) = 0;
    at(width, y) = 0;
  }
}

std::int32_t CPixelGrid::NextNonZero(std::int32_t x, std::int32_t y) const {
  const std::uint8_t* row = Row(y);
  while (x + 8 <= m_nWidth) {
    std::uint64_t word;
    std::memcpy(&word, row + x, sizeof word);
    if (word)
      break;
    x += 8;
  }
  while (x < m_nWidth && !row[x])
    ++x;
  return x;
}

std::int32_t CPixelGrid::PreviousNonZero(std::int32_t x, std::int32_t y) const {
  const std::uint8_t* row = Row(y);
  while (x >= 7) {
    std::uint64_t word;
    std::memcpy(&word, row + x - 7, sizeof word);
    if (word)
      break;
    x -= 8;
  }
  while (x >= 0 && !row[x])
    --x;
  return x;
}

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

}  // namespace qov
