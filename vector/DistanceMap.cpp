#include "vector/DistanceMap.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/Progress.h"

namespace qov {
namespace {

std::uint8_t Lowered(std::uint8_t cell, std::uint8_t straight1, std::uint8_t straight2,
                     std::uint8_t diagonal1, std::uint8_t diagonal2) {
  const int straight = std::min(straight1, straight2) + 3;
  const int diagonal = std::min(diagonal1, diagonal2) + 4;
  return static_cast<std::uint8_t>(std::min({static_cast<int>(cell), straight, diagonal}));
}

}  // namespace

void PropagateChamfer(CPixelGrid& grid) {
  const std::int32_t W = grid.Width();
  const std::int32_t H = grid.Height();
  const std::ptrdiff_t s = grid.Stride();
  // Seeds (0) stay 0 whatever their neighbours: runs of them are stepped
  // over eight at a time, most of a drawing's page being white.
  CProgressWalk walk(2 * std::int64_t{H});
  for (std::int32_t y = 0; y < H; ++y) {
    walk.Step(y);
    std::uint8_t* row = grid.Row(y);
    for (std::int32_t x = grid.NextNonZero(0, y); x < W; x = grid.NextNonZero(x + 1, y)) {
      std::uint8_t* p = row + x;
      *p = Lowered(*p, p[-s], p[-1], p[-s - 1], p[-s + 1]);
    }
  }
  for (std::int32_t y = H - 1; y >= 0; --y) {
    walk.Step(2 * std::int64_t{H} - 1 - y);
    std::uint8_t* row = grid.Row(y);
    for (std::int32_t x = grid.PreviousNonZero(W - 1, y); x >= 0;
         x = grid.PreviousNonZero(x - 1, y)) {
      std::uint8_t* p = row + x;
      *p = Lowered(*p, p[s], p[1], p[s + 1], p[s - 1]);
    }
  }
}

namespace {

std::uint8_t Raised(std::uint8_t cell, std::uint8_t straight1, std::uint8_t straight2,
                    std::uint8_t diagonal1, std::uint8_t diagonal2) {
  const int straight = std::max(straight1, straight2) - 3;
  const int diagonal = std::max(diagonal1, diagonal2) - 4;
  return static_cast<std::uint8_t>(std::max({static_cast<int>(cell), straight, diagonal, 0}));
}

}  // namespace

void PropagateReach(CPixelGrid& grid, const CPixelGrid& dark) {
  const std::int32_t W = grid.Width();
  const std::int32_t H = grid.Height();
  const std::ptrdiff_t s = grid.Stride();
  for (std::int32_t y = 0; y < H; ++y) {
    std::uint8_t* p = grid.Row(y);
    const std::uint8_t* d = dark.Row(y);
    for (std::int32_t x = 0; x < W; ++x, ++p) {
      if (d[x])
        *p = Raised(*p, p[-s], p[-1], p[-s - 1], p[-s + 1]);
    }
  }
  for (std::int32_t y = H - 1; y >= 0; --y) {
    std::uint8_t* p = grid.Row(y) + W - 1;
    const std::uint8_t* d = dark.Row(y);
    for (std::int32_t x = W - 1; x >= 0; --x, --p) {
      if (d[x])
        *p = Raised(*p, p[s], p[1], p[s + 1], p[s - 1]);
    }
  }
}

void DistanceFromWhite(CPixelGrid& grid) {
  for (std::int32_t y = 0; y < grid.Height(); ++y) {
    std::uint8_t* p = grid.Row(y);
    for (std::int32_t x = 0; x < grid.Width(); ++x)
      p[x] = p[x] ? 255 : 0;
  }
  PropagateChamfer(grid);
}

double MeasureHalfPen(const CPixelGrid& distance, int capUnits) {
  std::array<std::int64_t, 256> count{};
  const std::ptrdiff_t s = distance.Stride();
  for (std::int32_t y = 0; y < distance.Height(); ++y) {
    for (std::int32_t x = distance.NextNonZero(0, y); x < distance.Width();
         x = distance.NextNonZero(x + 1, y)) {
      const std::uint8_t* p = distance.Row(y) + x;
      const std::uint8_t d = *p;
      if (d == 0 || d >= capUnits)
        continue;
      if (d >= p[-s] && d >= p[s] && d >= p[-1] && d >= p[1])
        ++count[d];
    }
  }
  const auto mode = std::max_element(count.begin(), count.end());
  if (*mode == 0)
    return 0;
  return static_cast<double>(mode - count.begin()) / kChamferStep;
}

}  // namespace qov
