#include "vector/Centring.h"

#include <algorithm>
#include <cmath>

#include "vector/Fit.h"

namespace qov {
namespace {

// How far from p along d the ink goes on, up to `limit`: the distance to
// the edge of the last dark pixel the ray crosses before a white one, found
// pixel by pixel where the ray crosses their edges.
double InkReach(const CPixelGrid& ink, const Point2& p, const Point2& d, double limit) {
  double x = std::floor(p.x), y = std::floor(p.y);
  const double stepX = d.x > 0 ? 1 : -1, stepY = d.y > 0 ? 1 : -1;
  const double big = 1e30;
  double nextX = d.x != 0 ? ((d.x > 0 ? x + 1 : x) - p.x) / d.x : big;
  double nextY = d.y != 0 ? ((d.y > 0 ? y + 1 : y) - p.y) / d.y : big;
  const double deltaX = d.x != 0 ? 1 / std::fabs(d.x) : big;
  const double deltaY = d.y != 0 ? 1 / std::fabs(d.y) : big;
  for (;;) {
    const double t = std::min(nextX, nextY);
    if (t >= limit)
      return limit;
    if (nextX < nextY) {
      x += stepX;
      nextX += deltaX;
    } else {
      y += stepY;
      nextY += deltaY;
    }
    if (!ink.AtPoint(x + 0.5, y + 0.5))
      return t;
  }
}

Point2 UnitBetween(const Point2& a, const Point2& b) {
  const double length = std::hypot(b.x - a.x, b.y - a.y);
  if (length == 0)
    return {1, 0};
  return {(b.x - a.x) / length, (b.y - a.y) / length};
}

}  // namespace

double CentrePath(std::vector<Point2>& points, bool closed, const CInkSampler& ink,
                  double maxWidth) {
  const std::size_t n = points.size();
  if (n < 3)
    return 0;
  const std::vector<Point2> original = points;
  std::vector<double> halves;
  const std::size_t span = 3;
  for (std::size_t i = 0; i < n; ++i) {
    std::size_t before, after;
    if (closed) {
      const std::size_t m = n - 1;
      before = (i % m + m - span) % m;
      after = (i % m + span) % m;
    } else {
      before = i >= span ? i - span : 0;
      after = std::min(n - 1, i + span);
    }
    const Point2 along = UnitBetween(original[before], original[after]);
    const Point2 normal{-along.y, along.x};
    const Point2& p = original[i];
    if (!ink.IsInk(p))
      continue;
    const double plus = ink.EdgeDistance(p, normal, maxWidth);
    const double minus = ink.EdgeDistance(p, {-normal.x, -normal.y}, maxWidth);
    if (plus + minus > maxWidth)
      continue;
    const double shift = (plus - minus) / 2;
    points[i] = {p.x + shift * normal.x, p.y + shift * normal.y};
    halves.push_back((plus + minus) / 2);
  }
  if (halves.empty())
    return 0;
  double sum = 0;
  for (double half : halves)
    sum += half;
  return sum / static_cast<double>(halves.size());
}

namespace {

// The index of the first point, going back from the end, at least `length`
// from it along the path.
std::size_t PointBack(const std::vector<Point2>& points, double length) {
  double walked = 0;
  for (std::size_t i = points.size() - 1; i > 0; --i) {
    walked += std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
    if (walked >= length)
      return i - 1;
  }
  return 0;
}

}  // namespace

double InkBeyond(const CPixelGrid& ink, const Point2& from, const Point2& d, double halfWidth) {
  const double ray = InkReach(ink, from, d, 6 * halfWidth + 6);
  const double reach = ray + 1;
  const double side = halfWidth + 1.5;
  const double x0 = std::min({from.x, from.x + reach * d.x}) - side;
  const double x1 = std::max({from.x, from.x + reach * d.x}) + side;
  const double y0 = std::min({from.y, from.y + reach * d.y}) - side;
  const double y1 = std::max({from.y, from.y + reach * d.y}) + side;
  double area = 0;
  for (double y = std::floor(y0); y <= y1; ++y) {
    for (double x = std::floor(x0); x <= x1; ++x) {
      const double u = (x + 0.5 - from.x) * d.x + (y + 0.5 - from.y) * d.y;
      const double v = (x + 0.5 - from.x) * d.y - (y + 0.5 - from.y) * d.x;
      if (u >= 0 && u <= reach && std::fabs(v) <= side && ink.AtPoint(x + 0.5, y + 0.5))
        area += 1;
    }
  }
  const double width = 2 * halfWidth;
  // Ink of other strokes beside the band counts too; the centre never
  // went past the ink straight ahead.
  return std::clamp((area - kPi * width * width / 8) / width, 0.0, ray);
}

void TrimPathEnd(std::vector<Point2>& points, bool atBack, double length) {
  if (points.size() < 3)
    return;
  if (!atBack)
    std::reverse(points.begin(), points.end());
  const std::size_t keep = std::max<std::size_t>(PointBack(points, length), 1);
  points.resize(keep + 1);
  if (!atBack)
    std::reverse(points.begin(), points.end());
}

}  // namespace qov
