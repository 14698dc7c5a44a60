#include "tests/vector/PenDrawing.h"

#include <algorithm>
#include <cmath>

namespace qov::test {
namespace {

double DistanceToStroke(const PenStroke& s, double x, double y) {
  switch (s.kind) {
    case PenStroke::Line: {
      const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
      const double t =
          std::clamp(((x - s.a.x) * dx + (y - s.a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
      return std::hypot(x - s.a.x - t * dx, y - s.a.y - t * dy);
    }
    case PenStroke::Arc: {
      double angle = std::atan2(s.a.y - y, x - s.a.x) * 180 / kPi;
      const double sweep = std::fmod(s.toDegrees - s.fromDegrees + 720, 360);
      const bool inside = sweep == 0 || std::fmod(angle - s.fromDegrees + 720, 360) <= sweep;
      if (inside)
        return std::fabs(std::hypot(x - s.a.x, y - s.a.y) - s.radius);
      const auto end = [&s](double degrees) {
        return Point2{s.a.x + s.radius * std::cos(degrees * kPi / 180),
                      s.a.y - s.radius * std::sin(degrees * kPi / 180)};
      };
      const Point2 p = end(s.fromDegrees), q = end(s.toDegrees);
      return std::min(std::hypot(x - p.x, y - p.y), std::hypot(x - q.x, y - q.y));
    }
    case PenStroke::Disc:
      return std::max(0.0, std::hypot(x - s.a.x, y - s.a.y) - s.radius);
    case PenStroke::Box: {
      const bool inside = x >= std::min(s.a.x, s.b.x) && x <= std::max(s.a.x, s.b.x) &&
                          y >= std::min(s.a.y, s.b.y) && y <= std::max(s.a.y, s.b.y);
      return inside ? 0 : 1e9;
    }
  }
  return 1e9;
}

}  // namespace

Picture DrawWithPen(std::int64_t width, std::int64_t height, double pen,
                    const std::vector<PenStroke>& strokes) {
  return MakePicture(width, height, [&](std::int64_t x, std::int64_t y) {
    for (const PenStroke& s : strokes) {
      if (DistanceToStroke(s, static_cast<double>(x) + 0.5, static_cast<double>(y) + 0.5) <=
          pen / 2)
        return kBlack;
    }
    return kWhite;
  });
}

}  // namespace qov::test
