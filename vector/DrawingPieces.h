#pragma once
// The fitted shapes of a drawing before they are written: strokes and
// outlines split into pieces, ends that meet at a junction put on one
// point, and the pieces turned into entities in millimetres.

#include <cstdint>
#include <vector>

#include "vector/InkSampler.h"
#include "vector/PathPieces.h"
#include "vector/PixelGrid.h"
#include "vector/Strokes.h"
#include "vector/VectorDrawing.h"

namespace qov {

class CDrawingPieces {
 public:
  // `ink` holds the distances from white (non-zero: dark), `levels` the
  // picture's grey levels; the widths and the tolerance are in pixels.
  CDrawingPieces(const CPixelGrid& ink, const CInkSampler& levels, double maxPen, double pen,
                 double tolerance)
      : m_ink(ink), m_levels(levels), m_dMaxPen(maxPen), m_dPen(pen), m_dTolerance(tolerance) {}

  void AddStrokes(std::vector<StrokePath> strokes, const SkeletonGraph& graph);
  void AddOutlines(std::vector<std::vector<Point2>> outlines);
  // Appends the entities; `height` is the picture's in pixels.
  void WriteEntities(VectorDrawing& drawing, std::int32_t height) const;

 private:
  struct Shape {
    VectorLayer layer = VectorLayer::Centerline;
    bool circle = false;
    CircleFit whole;
    std::vector<PathPiece> pieces;
    int startNode = kNoNode;
    int endNode = kNoNode;
    std::vector<int> throughs;
  };
  struct NodeEnd {
    PathPiece* piece;
    bool atStart;
  };

  void AddPath(std::vector<Point2>& points, bool closed, Shape shape);
  void ExtendToInk(PathPiece& piece, bool atStart, double halfWidth) const;
  void MeetAtNodes(const SkeletonGraph& graph);
  void MeetAtNode(const SkeletonNode& node, const std::vector<NodeEnd>& ends,
                  const std::vector<const PathPiece*>& throughs);
  void WritePieces(const Shape& shape, VectorDrawing& drawing, std::int32_t height) const;

  const CPixelGrid& m_ink;
  const CInkSampler& m_levels;
  double m_dMaxPen;
  double m_dPen;
  double m_dTolerance;
  std::vector<Shape> m_shapes;
};

}  // namespace qov
