#pragma once
// Least-squares fits of a straight line and of a circle to points.

#include <cstddef>

#include "vector/VectorDrawing.h"

namespace qov {

struct LineFit {
  Point2 centre;     // the points' mean
  Point2 direction;  // unit
  double maxDeviation = 0;
};

// The line through the mean along the points' main axis (total least
// squares); n ≥ 2.
LineFit FitLine(const Point2* points, std::size_t n);

struct CircleFit {
  bool found = false;  // false for points too nearly in line
  Point2 centre;
  double radius = 0;
  double maxDeviation = 0;
};

// The circle of least squared distances from the points, started from the
// algebraic fit and refined by Gauss-Newton steps; n ≥ 3.
CircleFit FitCircle(const Point2* points, std::size_t n);

// The point of `line` nearest to p.
Point2 ProjectOnLine(const LineFit& line, const Point2& p);

// The point where the lines cross; false when they are nearly parallel.
bool IntersectLines(const Point2& p1, const Point2& d1, const Point2& p2, const Point2& d2,
                    Point2& crossing);

}  // namespace qov
