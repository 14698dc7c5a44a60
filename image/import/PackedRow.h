#pragma once
// Rows of 1, 2, 4 or 8 bits per pixel whose values each stand for one
// colour (bilevel, grey, palette): every source byte becomes its pixels at
// once through a table, instead of a sample taken apart per pixel. Internal
// to the image library.

#include <array>
#include <cstdint>

namespace qov::import {

class CPackedRow {
 public:
  // Blue, green, red.
  using Colour = std::array<std::uint8_t, 3>;

  // `bits` is 1, 2, 4 or 8; `colours` holds the colour of each of the
  // 1 << bits values.
  CPackedRow(unsigned bits, const Colour* colours);

  // `width` pixels from `line` (values from the high bits of each byte
  // down) to 3 × width bytes of blue, green, red at `bgr`. The unused low
  // bits of a row's last byte are ignored.
  void Convert(const std::uint8_t* line, std::uint64_t width, std::uint8_t* bgr) const;

 private:
  unsigned m_bits;
  // The pixels of each byte value: 8 / bits of them, 3 bytes each.
  std::array<std::array<std::uint8_t, 24>, 256> m_expand{};
};

}  // namespace qov::import
