#include "vector/AreaOutlines.h"

#include "vector/Thinning.h"

namespace qov {
namespace {

// Directions 0 right, 1 down, 2 left, 3 up (y grows downwards); the area
// lies to the right of every edge taken.
constexpr std::int32_t kDx[4] = {1, 0, -1, 0};
constexpr std::int32_t kDy[4] = {0, 1, 0, -1};
// Where the edge along pixel P in direction d starts, from P's top-left corner.
constexpr std::int32_t kStartX[4] = {0, 1, 1, 0};
constexpr std::int32_t kStartY[4] = {0, 0, 1, 1};

std::uint8_t TakenBit(int d) {
  return static_cast<std::uint8_t>(0x08 << d);
}

bool IsArea(const CPixelGrid& grid, std::int32_t x, std::int32_t y) {
  return grid.at(x, y) & kAreaBit;
}

std::vector<Point2> FollowOutline(CPixelGrid& grid, std::int32_t x0, std::int32_t y0) {
  std::vector<Point2> points;
  std::int32_t x = x0, y = y0;
  int d = 0;
  while (!(grid.at(x, y) & TakenBit(d))) {
    grid.at(x, y) |= TakenBit(d);
    points.push_back({x + kStartX[d] + 0.5 * kDx[d], y + kStartY[d] + 0.5 * kDy[d]});
    // The right-hand side of d is d + 1: the pixel ahead and to the left
    // is P + d − right.
    const int right = (d + 1) % 4;
    const std::int32_t aheadX = x + kDx[d], aheadY = y + kDy[d];
    const std::int32_t leftX = aheadX - kDx[right], leftY = aheadY - kDy[right];
    if (IsArea(grid, leftX, leftY)) {
      x = leftX;
      y = leftY;
      d = (d + 3) % 4;
    } else if (IsArea(grid, aheadX, aheadY)) {
      x = aheadX;
      y = aheadY;
    } else {
      d = right;
    }
  }
  if (!points.empty())
    points.push_back(points.front());
  return points;
}

}  // namespace

std::vector<std::vector<Point2>> TraceAreaOutlines(CPixelGrid& grid) {
  std::vector<std::vector<Point2>> outlines;
  for (std::int32_t y = 0; y < grid.Height(); ++y) {
    for (std::int32_t x = grid.NextNonZero(0, y); x < grid.Width();
         x = grid.NextNonZero(x + 1, y)) {
      if (IsArea(grid, x, y) && !IsArea(grid, x, y - 1) && !(grid.at(x, y) & TakenBit(0)))
        outlines.push_back(FollowOutline(grid, x, y));
    }
  }
  return outlines;
}

}  // namespace qov
