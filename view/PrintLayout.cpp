// The printed picture's size and place on the page.

#include "view/PrintLayout.h"

#include <algorithm>
#include <cmath>

#include "vector/VectorizeParams.h"

namespace qov {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kMmPerMetre = 1000.0;

// Device pixels that `pixels` picture pixels take on paper, at `mmPerPixel`.
double TrueExtent(std::int64_t pixels, double mmPerPixel, std::int64_t devicePerInch) {
  return static_cast<double>(pixels) * mmPerPixel / kMmPerInch * static_cast<double>(devicePerInch);
}

}  // namespace

CRect PicturePageRect(const CRect& page, CSize logPixels, CSize picture, DibResolution resolution) {
  if (page.Width() <= 0 || page.Height() <= 0 || logPixels.cx <= 0 || logPixels.cy <= 0 ||
      picture.cx <= 0 || picture.cy <= 0)
    return {};
  const bool known = resolution.Known();
  const double mmX = known ? kMmPerMetre / resolution.xPelsPerMeter : kAssumedMmPerPixel;
  const double mmY = known ? kMmPerMetre / resolution.yPelsPerMeter : kAssumedMmPerPixel;
  const double width = TrueExtent(picture.cx, mmX, logPixels.cx);
  const double height = TrueExtent(picture.cy, mmY, logPixels.cy);
  const double fit = std::min({1.0, static_cast<double>(page.Width()) / width,
                               static_cast<double>(page.Height()) / height});
  // At least one device pixel, and never past the page through rounding.
  const auto extent = [fit](double trueExtent, std::int64_t pageExtent) {
    return std::clamp<std::int64_t>(std::llround(trueExtent * fit), 1, pageExtent);
  };
  const std::int64_t w = extent(width, page.Width());
  const std::int64_t h = extent(height, page.Height());
  const std::int64_t left = page.left + (page.Width() - w) / 2;
  const std::int64_t top = page.top + (page.Height() - h) / 2;
  return {left, top, left + w, top + h};
}

}  // namespace qov
