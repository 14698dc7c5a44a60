#pragma once
// Strokes from the skeleton graph: spurs pruned, and at each junction the
// lines that run on straight through it joined into one stroke, so that a
// straight pen stroke is one path however many lines end on it.

#include <vector>

#include "vector/SkeletonGraph.h"

namespace qov {

struct StrokePath {
  std::vector<Point2> points;  // pixels, x right and y down
  bool closed = false;
  int startNode = kNoNode;  // the junction the stroke ends on, or kNoNode for a free end
  int endNode = kNoNode;
  std::vector<int> throughs;  // the junctions it runs on through
};

// Removes the edges from a junction to a free end shorter than `spurLength`
// pixels, then joins the edges into strokes. Points within the ink's width
// of a junction are left out: the thinning bends the lines there.
std::vector<StrokePath> JoinStrokes(SkeletonGraph& graph, double spurLength);

}  // namespace qov
