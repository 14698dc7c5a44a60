#include "vector/Fit.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qov {
namespace {

using Matrix3 = std::array<std::array<double, 3>, 3>;
using Vector3 = std::array<double, 3>;

// Solves m · x = b by elimination with partial pivoting; false when m is
// singular.
bool Solve3(Matrix3 m, Vector3 b, Vector3& x) {
  for (std::size_t c = 0; c < 3; ++c) {
    std::size_t pivot = c;
    for (std::size_t r = c + 1; r < 3; ++r) {
      if (std::fabs(m[r][c]) > std::fabs(m[pivot][c]))
        pivot = r;
    }
    if (std::fabs(m[pivot][c]) < 1e-12)
      return false;
    std::swap(m[c], m[pivot]);
    std::swap(b[c], b[pivot]);
    for (std::size_t r = c + 1; r < 3; ++r) {
      const double f = m[r][c] / m[c][c];
      for (std::size_t k = c; k < 3; ++k)
        m[r][k] -= f * m[c][k];
      b[r] -= f * b[c];
    }
  }
  for (std::size_t r = 3; r-- > 0;) {
    double s = b[r];
    for (std::size_t k = r + 1; k < 3; ++k)
      s -= m[r][k] * x[k];
    x[r] = s / m[r][r];
  }
  return true;
}

Point2 Mean(const Point2* points, std::size_t n) {
  Point2 mean;
  for (std::size_t i = 0; i < n; ++i) {
    mean.x += points[i].x;
    mean.y += points[i].y;
  }
  return {mean.x / static_cast<double>(n), mean.y / static_cast<double>(n)};
}

double MaxCircleDeviation(const Point2* points, std::size_t n, const CircleFit& circle) {
  double worst = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double d = std::hypot(points[i].x - circle.centre.x, points[i].y - circle.centre.y);
    worst = std::max(worst, std::fabs(d - circle.radius));
  }
  return worst;
}

// Gauss-Newton steps on the distances from the circle.
void RefineCircle(const Point2* points, std::size_t n, CircleFit& circle) {
  for (int iteration = 0; iteration < 6; ++iteration) {
    Matrix3 jtj{};
    Vector3 jtr{};
    for (std::size_t i = 0; i < n; ++i) {
      const double dx = points[i].x - circle.centre.x;
      const double dy = points[i].y - circle.centre.y;
      const double d = std::max(std::hypot(dx, dy), 1e-12);
      const Vector3 j{-dx / d, -dy / d, -1.0};
      const double r = d - circle.radius;
      for (std::size_t a = 0; a < 3; ++a) {
        jtr[a] += j[a] * r;
        for (std::size_t b = 0; b < 3; ++b)
          jtj[a][b] += j[a] * j[b];
      }
    }
    Vector3 step{};
    if (!Solve3(jtj, jtr, step))
      return;
    circle.centre.x -= step[0];
    circle.centre.y -= step[1];
    circle.radius -= step[2];
    if (std::fabs(step[0]) + std::fabs(step[1]) + std::fabs(step[2]) < 1e-9)
      return;
  }
}

}  // namespace

LineFit FitLine(const Point2* points, std::size_t n) {
  LineFit line;
  line.centre = Mean(points, n);
  double sxx = 0, sxy = 0, syy = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double u = points[i].x - line.centre.x;
    const double v = points[i].y - line.centre.y;
    sxx += u * u;
    sxy += u * v;
    syy += v * v;
  }
  const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
  line.direction = {std::cos(angle), std::sin(angle)};
  for (std::size_t i = 0; i < n; ++i) {
    const double u = points[i].x - line.centre.x;
    const double v = points[i].y - line.centre.y;
    line.maxDeviation =
        std::max(line.maxDeviation, std::fabs(u * line.direction.y - v * line.direction.x));
  }
  return line;
}

CircleFit FitCircle(const Point2* points, std::size_t n) {
  CircleFit circle;
  const Point2 mean = Mean(points, n);
  double suu = 0, suv = 0, svv = 0, suuu = 0, svvv = 0, suvv = 0, svuu = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double u = points[i].x - mean.x;
    const double v = points[i].y - mean.y;
    suu += u * u;
    suv += u * v;
    svv += v * v;
    suuu += u * u * u;
    svvv += v * v * v;
    suvv += u * v * v;
    svuu += v * u * u;
  }
  const double det = suu * svv - suv * suv;
  if (std::fabs(det) < 1e-9 * (suu + svv) * (suu + svv))
    return circle;
  const double bu = 0.5 * (suuu + suvv);
  const double bv = 0.5 * (svvv + svuu);
  const double a = (bu * svv - bv * suv) / det;
  const double b = (bv * suu - bu * suv) / det;
  circle.centre = {a + mean.x, b + mean.y};
  circle.radius = std::sqrt(a * a + b * b + (suu + svv) / static_cast<double>(n));
  RefineCircle(points, n, circle);
  circle.found = std::isfinite(circle.radius) && circle.radius > 0;
  if (circle.found)
    circle.maxDeviation = MaxCircleDeviation(points, n, circle);
  return circle;
}

Point2 ProjectOnLine(const LineFit& line, const Point2& p) {
  const double t =
      (p.x - line.centre.x) * line.direction.x + (p.y - line.centre.y) * line.direction.y;
  return {line.centre.x + t * line.direction.x, line.centre.y + t * line.direction.y};
}

bool IntersectLines(const Point2& p1, const Point2& d1, const Point2& p2, const Point2& d2,
                    Point2& crossing) {
  const double cross = d1.x * d2.y - d1.y * d2.x;
  if (std::fabs(cross) < std::sin(2.0 * kPi / 180.0))
    return false;
  const double t = ((p2.x - p1.x) * d2.y - (p2.y - p1.y) * d2.x) / cross;
  crossing = {p1.x + t * d1.x, p1.y + t * d1.y};
  return true;
}

}  // namespace qov
