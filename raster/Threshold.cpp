#include "raster/Threshold.h"

#include <cstdint>

namespace qov {

void ThresholdPass(CQOV_V2Doc& doc, int percent) {
  const std::int64_t width = doc.m_nWidth;
  const std::int64_t height = doc.m_nHeight;
  // Column 0 is never visited and the bottom row is outside the pixel
  // operations' range, so both keep their colours.
  for (std::int64_t y = 1; y <= height - 1; ++y) {
    for (std::int64_t x = 1; x <= width - 1; ++x) {
      doc.ThresholdPixel(x, y, percent);
    }
  }
}

}  // namespace qov
