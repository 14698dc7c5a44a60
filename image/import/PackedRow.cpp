// Packed rows to blue, green, red through a table of whole bytes.

#include "image/import/PackedRow.h"

#include <cstring>

namespace qov::import {

namespace {

// The whole bytes of a row, each to its `kOut` bytes of pixels: a copy of
// constant size, which the compiler turns into a few moves.
template <std::size_t kOut>
void ExpandBytes(const std::array<std::array<std::uint8_t, 24>, 256>& expand,
                 const std::uint8_t* line, std::uint64_t bytes, std::uint8_t* bgr) {
  for (std::uint64_t i = 0; i < bytes; ++i)
    std::memcpy(bgr + kOut * i, expand[line[i]].data(), kOut);
}

}  // namespace

CPackedRow::CPackedRow(unsigned bits, const Colour* colours) : m_bits(bits) {
  const unsigned perByte = 8 / bits;
  const unsigned mask = (1u << bits) - 1;
  for (unsigned byte = 0; byte < 256; ++byte) {
    for (unsigned i = 0; i < perByte; ++i) {
      const unsigned value = (byte >> (8 - bits * (i + 1))) & mask;
      std::memcpy(m_expand[byte].data() + 3 * i, colours[value].data(), 3);
    }
  }
}

void CPackedRow::Convert(const std::uint8_t* line, std::uint64_t width, std::uint8_t* bgr) const {
  const unsigned perByte = 8 / m_bits;
  const std::uint64_t whole = width / perByte;
  switch (m_bits) {
    case 1:
      ExpandBytes<24>(m_expand, line, whole, bgr);
      break;
    case 2:
      ExpandBytes<12>(m_expand, line, whole, bgr);
      break;
    case 4:
      ExpandBytes<6>(m_expand, line, whole, bgr);
      break;
    default:
      ExpandBytes<3>(m_expand, line, whole, bgr);
      break;
  }
  const std::uint64_t rest = width % perByte;
  if (rest != 0)
    std::memcpy(bgr + 3 * perByte * whole, m_expand[line[whole]].data(), 3 * rest);
}

}  // namespace qov::import
