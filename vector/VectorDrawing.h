#pragma once
// What the vectorizer makes of a picture: lines, arcs, circles and polylines
// in millimetres, the origin at the picture's bottom-left corner and y
// pointing up, each on the layer of its kind.

#include <cmath>
#include <vector>

namespace qov {

struct Point2 {
  double x = 0;
  double y = 0;
};

inline constexpr double kPi = 3.14159265358979323846;

inline double Distance(const Point2& a, const Point2& b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

// The length of the polyline through the points.
inline double PathLength(const std::vector<Point2>& points) {
  double length = 0;
  for (std::size_t i = 1; i < points.size(); ++i)
    length += Distance(points[i - 1], points[i]);
  return length;
}

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
