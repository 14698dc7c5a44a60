#pragma once
// The thinned strokes as a graph: nodes where three or more lines meet,
// edges along the lines between nodes and free ends, and closed loops.

#include <vector>

#include "vector/PixelGrid.h"
#include "vector/VectorDrawing.h"

namespace qov {

inline constexpr int kNoNode = -1;

struct SkeletonNode {
  Point2 centre;           // in pixels, x right and y down
  double halfWidth = 0;    // of the ink around it, in pixels
  std::vector<int> edges;  // each edge once for each of its ends here
};

struct SkeletonEdge {
  std::vector<Point2> points;  // pixel centres, from `from` to `to`
  int from = kNoNode;          // kNoNode: a free end
  int to = kNoNode;
  bool closed = false;  // a loop with no node: its last point repeats the first
  bool removed = false;
};

struct SkeletonGraph {
  std::vector<SkeletonNode> nodes;
  std::vector<SkeletonEdge> edges;
};

// Traces the pixels with kStrokeBit in `grid` (marking them kVisitedBit);
// `distance` gives the ink's width at the nodes.
SkeletonGraph TraceSkeleton(CPixelGrid& grid, const CPixelGrid& distance);

}  // namespace qov
