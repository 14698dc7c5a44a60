#include "raster/Threshold.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "image/DibRows.h"
#include "platform/Progress.h"

namespace qov {
namespace {

// ThresholdPixel's test, all three bytes above percent × 2.55, is a test on
// the least of them: the lowest byte that passes, 256 when none does.
int LowestWhiteByte(int percent) {
  const double threshold = percent * 2.55;
  int v = 0;
  while (v <= 255 && !(v > threshold))
    ++v;
  return v;
}

void ThresholdPixel(std::uint8_t* p, int lowestWhite) {
  const int least = std::min(p[0], std::min(p[1], p[2]));
  const auto out = static_cast<std::uint8_t>(least >= lowestWhite ? 255 : 0);
  p[0] = out;
  p[1] = out;
  p[2] = out;
}

QOV_WIDE_ROWS void ThresholdRow(std::uint8_t* p, std::int64_t count, int lowestWhite) {
  std::int64_t i = 0;
  for (; i + kWideRowPixels <= count; i += kWideRowPixels)
    for (std::int64_t k = 0; k < kWideRowPixels; ++k)
      ThresholdPixel(p + 3 * (i + k), lowestWhite);
  for (; i < count; ++i)
    ThresholdPixel(p + 3 * i, lowestWhite);
}

}  // namespace

void ThresholdPass(CQOV_V2Doc& doc, int percent) {
  const CDibRows rows(doc);
  const std::int64_t width = rows.Width();
  const std::int64_t height = rows.Height();
  if (width < 2 || height < 2)
    return;
  // As the pixel operation does, m_curColor ends with the last pixel's
  // colour from before the pass.
  std::memcpy(doc.m_curColor.data(), rows.At(width - 1, height - 1), 3);
  const int lowestWhite = LowestWhiteByte(percent);
  // Column 0 is never visited and the bottom row is outside the pixel
  // operations' range, so both keep their colours.
  CProgressWalk walk(height);
  for (std::int64_t y = 1; y <= height - 1; ++y) {
    walk.Step(y);
    ThresholdRow(rows.At(1, y), width - 1, lowestWhite);
  }
}

}  // namespace qov
