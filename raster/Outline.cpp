#include "raster/Outline.h"

#include <cstdint>

namespace qov {

void OutlinePass(CQOV_V2Doc& doc) {
  const std::int64_t width = doc.m_nWidth;
  const std::int64_t height = doc.m_nHeight;
  // A pixel turned light grey has blue 230, neither 0 nor 255: it no longer
  // passes the centre test and, as a neighbour, protects nothing, exactly as
  // the black it replaced. So marking in place is safe.
  for (std::int64_t y = 2; y <= height - 2; ++y) {
    for (std::int64_t x = 2; x <= width - 2; ++x) {
      doc.MarkOutlinePixel(x, y);
    }
  }
}

}  // namespace qov
