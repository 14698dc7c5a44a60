#pragma once
// What the vectorizer makes of a picture: lines, arcs, circles and polylines
// in millimetres, the origin at the picture's bottom-left corner and y
// pointing up, each on the layer of its kind.

#include <vector>

namespace qov {

struct Point2 {
  double x = 0;
  double y = 0;
};

// Centerlines are strokes drawn with one pen; outlines go round areas wider
// than the widest pen.
enum class VectorLayer { Centerline, Outline };

struct VectorEntity {
  enum Kind { Line, Arc, Circle, Polyline };
  Kind kind = Line;
  VectorLayer layer = VectorLayer::Centerline;
  std::vector<Point2> points;  // Line: its two ends; Polyline: its vertices
  bool closed = false;         // Polyline
  Point2 centre;               // Arc, Circle
  double radius = 0;           // Arc, Circle
  double startDegrees = 0;     // Arc: counter-clockwise from start to end
  double endDegrees = 0;
};

struct VectorDrawing {
  double width = 0;  // the picture's size in millimetres
  double height = 0;
  double mmPerPixelX = 0;
  double mmPerPixelY = 0;
  // False when neither the picture nor the caller gave a resolution and the
  // exports' own pixel size was assumed.
  bool resolutionKnown = false;
  std::vector<VectorEntity> entities;
};

}  // namespace qov
