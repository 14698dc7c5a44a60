#pragma once
// Test pages drawn as a pen would: every pixel whose centre lies within half
// the pen's width of a line or arc is black. Coordinates in pixels, x right
// and y down.

#include <vector>

#include "tests/support/Bitmap.h"
#include "vector/VectorDrawing.h"

namespace qov::test {

struct PenStroke {
  enum Kind { Line, Arc, Disc, Box };
  Kind kind = Line;
  Point2 a;                // Line: from; Arc, Disc: centre; Box: one corner
  Point2 b;                // Line: to; Box: the other corner
  double radius = 0;       // Arc, Disc
  double fromDegrees = 0;  // Arc, counter-clockwise on the page (y up)
  double toDegrees = 360;
};

Picture DrawWithPen(std::int64_t width, std::int64_t height, double pen,
                    const std::vector<PenStroke>& strokes);

}  // namespace qov::test
