#pragma once
// Moves the thinned lines' pixels onto the middle of the ink: the thinning
// leaves a line up to half a pixel off the middle of an even-width stroke,
// and only on whole pixels.

#include <vector>

#include "vector/InkSampler.h"
#include "vector/PixelGrid.h"
#include "vector/VectorDrawing.h"

namespace qov {

// Moves each point across the path to the middle of the ink around it, where the ink is no wider
// than `maxWidth` pixels there. Returns the mean half width of the ink found.
double CentrePath(std::vector<Point2>& points, bool closed, const CInkSampler& ink,
                  double maxWidth);

// Drops the points within `length` of the path's end, along the path,
// keeping two at least: the thinning bends a line's last pixels towards a
// corner of the pen's round end.
void TrimPathEnd(std::vector<Point2>& points, bool atBack, double length);

// How far beyond `from` along d the pen's centre went: the dark pixels of
// `ink` beyond the cross-section at `from` are a band as wide as the pen
// and a half disc at its end, so their count gives the band's length better
// than any one pixel's edge could.
double InkBeyond(const CPixelGrid& ink, const Point2& from, const Point2& d, double halfWidth);

}  // namespace qov
