#include "raster/ErrorDiffusion.h"

#include <cstdint>

#include "raster/Brightness.h"

namespace qov {
namespace {

constexpr int kThreshold = 383;
constexpr int kBlackLevel = 0;
constexpr int kWhiteLevel = 765;

}  // namespace

void ErrorDiffusionPass(CQOV_V2Doc& doc) {
  const std::int64_t width = doc.m_nWidth;
  const std::int64_t height = doc.m_nHeight;
  // The carried error is not reset between rows: the last pixel of a row
  // passes its whole error to the first visited pixel of the next one.
  // Nothing goes downwards, and there is no clamping.
  int error = 0;
  for (std::int64_t y = 1; y <= height - 1; ++y) {
    for (std::int64_t x = 1; x <= width - 1; ++x) {
      doc.LoadPixel(x, y);
      const int corrected = Brightness(doc.m_curColor) - error;
      const bool white = corrected >= kThreshold;
      doc.m_curColor = white ? doc.m_whiteColor : doc.m_blackColor;
      const int output = white ? kWhiteLevel : kBlackLevel;
      doc.StorePixel(x, y);
      error = output - corrected;
    }
  }
}

}  // namespace qov
