#pragma once
// Splits a path into the fewest straight and circular pieces that keep
// within a tolerance of its points, and puts the ends of neighbouring pieces
// on one shared point: the crossing of two lines at a corner.

#include <vector>

#include "vector/Fit.h"

namespace qov {

struct PathPiece {
  enum Kind { Line, Arc };
  Kind kind = Line;
  std::size_t first = 0;  // the points it was fitted to
  std::size_t last = 0;
  Point2 start;
  Point2 end;
  LineFit line;      // Line
  CircleFit circle;  // Arc
  Point2 through;    // Arc: its point nearest the middle of its points
};

// The pieces of an open path, or of a closed one whose last point repeats
// its first (the pieces then start at its sharpest bend). Paths of fewer
// than two points have none.
std::vector<PathPiece> SplitPath(std::vector<Point2>& points, bool closed, double tolerance);

// The circle through a closed path when every point keeps within
// `tolerance` of it and the points go round it (three quarters of a turn
// at least: a line that runs out and back along itself fits a huge circle
// as well as any).
bool FitWholeCircle(const std::vector<Point2>& points, double tolerance, CircleFit& circle);

// The point of the piece nearest to p (of its circle, for an arc), and the
// direction of the piece there.
Point2 ProjectOnPiece(const PathPiece& piece, const Point2& p);
Point2 PieceDirection(const PathPiece& piece, const Point2& at);

}  // namespace qov
