#include "raster/ErrorDiffusion.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "image/DibRows.h"
#include "raster/Brightness.h"

namespace qov {
namespace {

constexpr int kThreshold = 383;
constexpr int kBlackLevel = 0;
constexpr int kWhiteLevel = 765;

// A pixel's brightness does not depend on the carried error, so a whole
// row's are computed first, in a loop free of the carried dependency.
void RowBrightness(const std::uint8_t* p, std::int64_t count, int* levels) {
  for (std::int64_t i = 0; i < count; ++i, p += 3)
    levels[i] = Brightness(Color3{p[0], p[1], p[2]});
}

}  // namespace

void ErrorDiffusionPass(CQOV_V2Doc& doc) {
  const CDibRows rows(doc);
  const std::int64_t width = rows.Width();
  const std::int64_t height = rows.Height();
  if (width < 2 || height < 2)
    return;
  std::vector<int> levels(static_cast<std::size_t>(width - 1));
  // The carried error is not reset between rows: the last pixel of a row
  // passes its whole error to the first visited pixel of the next one.
  // Nothing goes downwards, and there is no clamping.
  int error = 0;
  bool white = false;
  for (std::int64_t y = 1; y <= height - 1; ++y) {
    std::uint8_t* p = rows.At(1, y);
    RowBrightness(p, width - 1, levels.data());
    for (const int level : levels) {
      const int corrected = level - error;
      white = corrected >= kThreshold;
      const auto out = static_cast<std::uint8_t>(white ? 255 : 0);
      p[0] = out;
      p[1] = out;
      p[2] = out;
      p += 3;
      error = (white ? kWhiteLevel : kBlackLevel) - corrected;
    }
  }
  doc.m_curColor = white ? doc.m_whiteColor : doc.m_blackColor;
}

}  // namespace qov
