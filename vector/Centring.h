#pragma once
// Moves the thinned lines' pixels onto the middle of the ink: the thinning
// leaves a line up to half a pixel off the middle of an even-width stroke,
// and only on whole pixels.

#include <vector>

#include "vector/PixelGrid.h"
#include "vector/VectorDrawing.h"

namespace qov {

// Moves each point across the path to the middle of the ink around it
// (`ink`: non-zero dark), where the ink is no wider than `maxWidth` pixels
// there. Returns the mean half width of the ink found.
double CentrePath(std::vector<Point2>& points, bool closed, const CPixelGrid& ink, double maxWidth);

// Puts the path's end half the ink's width short of where the ink ends
// beyond it, in the direction the path comes from: a pen's round end
// reaches half its width past the line it drew. Points beyond are dropped.
void PlaceEndInInk(std::vector<Point2>& points, bool atBack, const CPixelGrid& ink,
                   double halfWidth);

}  // namespace qov
