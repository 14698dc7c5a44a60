#pragma once
// A byte for each pixel of a picture, rows from the top, with a border of
// one cell all round that stays 0, so that a pixel's eight neighbours can be
// read without a bounds check.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qov {

struct PixelPos {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

class CPixelGrid {
 public:
  // The border's cells are 0, the picture's are left as they come: every
  // user writes them all first, and a page of A0 is 250 MB to clear.
  // Throws std::bad_alloc when the memory cannot be had.
  CPixelGrid(std::int32_t width, std::int32_t height);

  std::int32_t Width() const { return m_nWidth; }
  std::int32_t Height() const { return m_nHeight; }
  std::ptrdiff_t Stride() const { return m_nWidth + 2; }

  // x from −1 to width, y from −1 to height.
  std::size_t Index(std::int32_t x, std::int32_t y) const {
    return static_cast<std::size_t>(y + 1) * static_cast<std::size_t>(m_nWidth + 2) +
           static_cast<std::size_t>(x + 1);
  }
  PixelPos Position(std::size_t index) const {
    const auto stride = static_cast<std::size_t>(m_nWidth + 2);
    return {static_cast<std::int32_t>(index % stride) - 1,
            static_cast<std::int32_t>(index / stride) - 1};
  }
  // The cells of row y, from column 0.
  std::uint8_t* Row(std::int32_t y) { return &m_cells[Index(0, y)]; }
  const std::uint8_t* Row(std::int32_t y) const { return &m_cells[Index(0, y)]; }
  // The first column from x on (up to the row's end) whose cell is not 0,
  // stepping over eight cells at a time.
  std::int32_t NextNonZero(std::int32_t x, std::int32_t y) const;
  // The last such column from x back, or −1.
  std::int32_t PreviousNonZero(std::int32_t x, std::int32_t y) const;
  std::uint8_t& operator[](std::size_t index) { return m_cells[index]; }
  std::uint8_t operator[](std::size_t index) const { return m_cells[index]; }
  std::uint8_t& at(std::int32_t x, std::int32_t y) { return m_cells[Index(x, y)]; }
  std::uint8_t at(std::int32_t x, std::int32_t y) const { return m_cells[Index(x, y)]; }
  // The cell at continuous position (x, y), where pixel (i, j) covers
  // [i, i + 1) × [j, j + 1); 0 outside the picture.
  std::uint8_t AtPoint(double x, double y) const;

  // The offsets of the eight neighbours, clockwise from north: N, NE, E, SE,
  // S, SW, W, NW.
  std::ptrdiff_t NeighbourOffset(int k) const;
  // Bit k set when neighbour k has any of `mask`'s bits.
  unsigned NeighbourBits(std::size_t index, std::uint8_t mask) const {
    const std::ptrdiff_t s = Stride();
    const std::uint8_t* p = &m_cells[index];
    return ((p[-s] & mask) ? 1u : 0u) | ((p[-s + 1] & mask) ? 2u : 0u) | ((p[1] & mask) ? 4u : 0u) |
           ((p[s + 1] & mask) ? 8u : 0u) | ((p[s] & mask) ? 16u : 0u) |
           ((p[s - 1] & mask) ? 32u : 0u) | ((p[-1] & mask) ? 64u : 0u) |
           ((p[-s - 1] & mask) ? 128u : 0u);
  }

 private:
  std::int32_t m_nWidth;
  std::int32_t m_nHeight;
  std::unique_ptr<std::uint8_t[]> m_cells;
};

}  // namespace qov
