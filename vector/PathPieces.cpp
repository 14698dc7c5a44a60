#include "vector/PathPieces.h"

#include <algorithm>
#include <cmath>

namespace qov {
namespace {

// The angle the path turns through around the circle's centre, signed.
double Sweep(const Point2* points, std::size_t n, const Point2& centre) {
  double total = 0;
  double previous = std::atan2(points[0].y - centre.y, points[0].x - centre.x);
  for (std::size_t i = 1; i < n; ++i) {
    const double angle = std::atan2(points[i].y - centre.y, points[i].x - centre.x);
    double step = angle - previous;
    step -= 2 * kPi * std::round(step / (2 * kPi));
    total += step;
    previous = angle;
  }
  return total;
}

class CPathSplitter {
 public:
  CPathSplitter(const std::vector<Point2>& points, double tolerance)
      : m_points(points), m_dTolerance(tolerance) {}

  std::vector<PathPiece> Split() {
    std::vector<PathPiece> pieces;
    const std::size_t last = m_points.size() - 1;
    for (std::size_t i = 0; i < last;) {
      const std::size_t lineEnd = LongestFit(i, &CPathSplitter::LineFits);
      std::size_t arcEnd = i;
      if (lineEnd < last) {
        arcEnd = LongestFit(i, &CPathSplitter::CircleFits);
        if (!BentFromChord(i, arcEnd))
          arcEnd = i;
      }
      PathPiece piece;
      piece.first = i;
      if (arcEnd > lineEnd + std::max<std::size_t>(3, (lineEnd - i) / 5)) {
        piece.kind = PathPiece::Arc;
        piece.last = arcEnd;
        piece.circle = FitCircle(&m_points[i], arcEnd - i + 1);
        piece.through = m_points[(i + arcEnd) / 2];
      } else {
        piece.last = lineEnd;
        piece.line = FitLine(&m_points[i], lineEnd - i + 1);
      }
      pieces.push_back(piece);
      i = piece.last;
    }
    RelaxBoundaries(pieces);
    return pieces;
  }

 private:
  // The sum of the squared distances of points i to j from the piece of
  // `kind` fitted to them, and the largest; infinite for a fit that cannot
  // be made.
  double FitError(PathPiece::Kind kind, std::size_t i, std::size_t j, double& worst) const {
    const std::size_t n = j - i + 1;
    double sum = 0;
    worst = 0;
    if (kind == PathPiece::Line) {
      const LineFit line = FitLine(&m_points[i], n);
      for (std::size_t k = i; k <= j; ++k) {
        const Point2 foot = ProjectOnLine(line, m_points[k]);
        const double d = std::hypot(m_points[k].x - foot.x, m_points[k].y - foot.y);
        sum += d * d;
      }
      worst = line.maxDeviation;
      return sum;
    }
    const CircleFit circle = n >= 6 ? FitCircle(&m_points[i], n) : CircleFit{};
    if (!circle.found)
      return HUGE_VAL;
    for (std::size_t k = i; k <= j; ++k) {
      const double d =
          std::hypot(m_points[k].x - circle.centre.x, m_points[k].y - circle.centre.y) -
          circle.radius;
      sum += d * d;
    }
    worst = circle.maxDeviation;
    return sum;
  }

  // The greedy split runs each piece on as far as it keeps to the points,
  // so it reaches a little into the next one: the arc of a fillet into the
  // line after it. Each boundary moves to where the two pieces, both still
  // within the tolerance, fit their points best.
  void RelaxBoundaries(std::vector<PathPiece>& pieces) const {
    constexpr std::size_t kReach = 40;
    for (std::size_t k = 1; k < pieces.size(); ++k) {
      PathPiece& a = pieces[k - 1];
      PathPiece& b = pieces[k];
      if (b.last < a.first + 4)
        continue;
      const std::size_t low = std::max(a.first + 2, a.last > kReach ? a.last - kReach : 0);
      const std::size_t high = std::min(b.last - 2, a.last + kReach);
      std::size_t best = a.last;
      double bestError = HUGE_VAL;
      for (std::size_t split = low; split <= high; ++split) {
        double worstA = 0, worstB = 0;
        const double error =
            FitError(a.kind, a.first, split, worstA) + FitError(b.kind, split, b.last, worstB);
        if (worstA <= m_dTolerance && worstB <= m_dTolerance && error < bestError) {
          bestError = error;
          best = split;
        }
      }
      a.last = b.first = best;
      Refit(a);
      Refit(b);
    }
  }

  void Refit(PathPiece& piece) const {
    const std::size_t n = piece.last - piece.first + 1;
    if (piece.kind == PathPiece::Line) {
      piece.line = FitLine(&m_points[piece.first], n);
    } else {
      piece.circle = FitCircle(&m_points[piece.first], n);
      piece.through = m_points[(piece.first + piece.last) / 2];
    }
  }

  bool LineFits(std::size_t i, std::size_t j) const {
    return FitLine(&m_points[i], j - i + 1).maxDeviation <= m_dTolerance;
  }

  // A circle that the points keep to, short of a whole turn. Short runs
  // fit any circle; whether the arc is worth more than a line is asked of
  // the longest run only, so that the search sees fits stop once.
  bool CircleFits(std::size_t i, std::size_t j) const {
    const std::size_t n = j - i + 1;
    if (n < 6)
      return true;
    const CircleFit circle = FitCircle(&m_points[i], n);
    return circle.found && circle.maxDeviation <= m_dTolerance &&
           std::fabs(Sweep(&m_points[i], n, circle.centre)) < 1.95 * kPi;
  }

  // Whether the circle through the points bends far enough from their chord
  // that no line would keep to them.
  bool BentFromChord(std::size_t i, std::size_t j) const {
    const std::size_t n = j - i + 1;
    if (n < 6)
      return false;
    const CircleFit circle = FitCircle(&m_points[i], n);
    const double sweep = std::fabs(Sweep(&m_points[i], n, circle.centre));
    return circle.radius * (1 - std::cos(std::min(sweep, kPi) / 2)) > m_dTolerance;
  }

  // The farthest j with `fits(i, j)`: doubling steps, then halving.
  std::size_t LongestFit(std::size_t i,
                         bool (CPathSplitter::*fits)(std::size_t, std::size_t) const) const {
    const std::size_t last = m_points.size() - 1;
    std::size_t good = i + 1;
    std::size_t bad = last + 1;
    for (std::size_t step = 2; good < last; step *= 2) {
      const std::size_t probe = std::min(last, i + step);
      if (!(this->*fits)(i, probe)) {
        bad = probe;
        break;
      }
      good = probe;
    }
    while (bad - good > 1) {
      const std::size_t middle = good + (bad - good) / 2;
      if ((this->*fits)(i, middle))
        good = middle;
      else
        bad = middle;
    }
    return good;
  }

  const std::vector<Point2>& m_points;
  double m_dTolerance;
};

// The index of the point where a closed path bends most.
std::size_t SharpestBend(const std::vector<Point2>& points) {
  const std::size_t n = points.size() - 1;
  const std::size_t k = std::max<std::size_t>(2, n / 40);
  std::size_t best = 0;
  double bestCos = 2;
  for (std::size_t i = 0; i < n; ++i) {
    const Point2& a = points[(i + n - k) % n];
    const Point2& b = points[i];
    const Point2& c = points[(i + k) % n];
    const double la = Distance(a, b), lc = Distance(b, c);
    if (la == 0 || lc == 0)
      continue;
    const double cosine = ((b.x - a.x) * (c.x - b.x) + (b.y - a.y) * (c.y - b.y)) / (la * lc);
    if (cosine < bestCos) {
      bestCos = cosine;
      best = i;
    }
  }
  return best;
}

// The shared end of two neighbouring pieces at point p: where two lines
// cross when that is near, else the mean of p's nearest points on both.
Point2 Joint(const PathPiece& a, const PathPiece& b, const Point2& p, double reach) {
  Point2 crossing;
  if (a.kind == PathPiece::Line && b.kind == PathPiece::Line &&
      IntersectLines(a.line.centre, a.line.direction, b.line.centre, b.line.direction, crossing) &&
      Distance(crossing, p) <= reach)
    return crossing;
  const Point2 pa = ProjectOnPiece(a, p);
  const Point2 pb = ProjectOnPiece(b, p);
  return {(pa.x + pb.x) / 2, (pa.y + pb.y) / 2};
}

}  // namespace

Point2 ProjectOnPiece(const PathPiece& piece, const Point2& p) {
  if (piece.kind == PathPiece::Line)
    return ProjectOnLine(piece.line, p);
  const Point2& c = piece.circle.centre;
  const double d = std::max(Distance(p, c), 1e-12);
  return {c.x + (p.x - c.x) * piece.circle.radius / d, c.y + (p.y - c.y) * piece.circle.radius / d};
}

Point2 PieceDirection(const PathPiece& piece, const Point2& at) {
  if (piece.kind == PathPiece::Line)
    return piece.line.direction;
  const Point2& c = piece.circle.centre;
  const double d = std::max(Distance(at, c), 1e-12);
  return {-(at.y - c.y) / d, (at.x - c.x) / d};
}

bool FitWholeCircle(const std::vector<Point2>& points, double tolerance, CircleFit& circle) {
  if (points.size() < 8)
    return false;
  circle = FitCircle(points.data(), points.size() - 1);
  return circle.found && circle.maxDeviation <= tolerance && circle.radius > tolerance &&
         std::fabs(Sweep(points.data(), points.size(), circle.centre)) >= 1.5 * kPi;
}

std::vector<PathPiece> SplitPath(std::vector<Point2>& points, bool closed, double tolerance) {
  if (points.size() < 2)
    return {};
  if (closed && points.size() > 3) {
    points.pop_back();
    std::rotate(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(SharpestBend(points)),
                points.end());
    points.push_back(points.front());
  }
  std::vector<PathPiece> pieces = CPathSplitter(points, tolerance).Split();
  const double reach = 4 * tolerance + 3;
  for (std::size_t k = 1; k < pieces.size(); ++k) {
    const Point2 joint = Joint(pieces[k - 1], pieces[k], points[pieces[k].first], reach);
    pieces[k - 1].end = joint;
    pieces[k].start = joint;
  }
  PathPiece& first = pieces.front();
  PathPiece& last = pieces.back();
  if (closed && pieces.size() > 1) {
    const Point2 joint = Joint(last, first, points.front(), reach);
    first.start = joint;
    last.end = joint;
  } else {
    first.start = ProjectOnPiece(first, points[first.first]);
    last.end = ProjectOnPiece(last, points[last.last]);
  }
  for (PathPiece& piece : pieces) {
    if (piece.kind == PathPiece::Arc)
      piece.through = ProjectOnPiece(piece, piece.through);
  }
  return pieces;
}

}  // namespace qov
