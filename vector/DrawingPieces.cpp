#include "vector/DrawingPieces.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "platform/Progress.h"
#include "vector/Centring.h"

namespace qov {
namespace {

// How far p lies from the piece between its ends.
double DistanceToPiece(const PathPiece& piece, const Point2& p) {
  if (piece.kind == PathPiece::Arc) {
    const double off = std::fabs(Distance(p, piece.circle.centre) - piece.circle.radius);
    return std::max(off, std::min(Distance(p, piece.start), Distance(p, piece.end)) -
                             Distance(piece.start, piece.end));
  }
  const double dx = piece.end.x - piece.start.x, dy = piece.end.y - piece.start.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - piece.start.x) * dx + (p.y - piece.start.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return Distance(p, {piece.start.x + t * dx, piece.start.y + t * dy});
}

// Where the line through `anchor` along `d` meets the piece, near `anchor`.
bool MeetPiece(const Point2& anchor, const Point2& d, const PathPiece& piece, Point2& meeting) {
  if (piece.kind == PathPiece::Arc) {
    // Where the line crosses the circle, the crossing nearer the anchor.
    const Point2& c = piece.circle.centre;
    const double bx = anchor.x - c.x, by = anchor.y - c.y;
    const double b = bx * d.x + by * d.y;
    const double disc = b * b - (bx * bx + by * by - piece.circle.radius * piece.circle.radius);
    if (disc >= 0) {
      const double root = std::sqrt(disc);
      const double t = std::fabs(-b - root) < std::fabs(-b + root) ? -b - root : -b + root;
      meeting = {anchor.x + t * d.x, anchor.y + t * d.y};
      return true;
    }
  }
  const Point2 foot = ProjectOnPiece(piece, anchor);
  return IntersectLines(anchor, d, foot, PieceDirection(piece, foot), meeting);
}

// Where an arc ending at a line meets it: where the circle touches the line
// when it comes within `tolerance` of touching (a fillet runs into the line
// along it, and its tangent would never cross it), else where it crosses
// the line nearest `anchor`. False when the circle stays clear of the line.
bool ArcMeetsLine(const PathPiece& arc, const Point2& anchor, const PathPiece& line,
                  double tolerance, Point2& meeting) {
  const Point2& c = arc.circle.centre;
  const double r = arc.circle.radius;
  const Point2 foot = ProjectOnLine(line.line, c);
  const double distance = Distance(foot, c);
  if (distance < 1e-9 || distance > r + tolerance)
    return false;
  if (distance >= r - tolerance) {
    meeting = {c.x + (foot.x - c.x) * r / distance, c.y + (foot.y - c.y) * r / distance};
    return true;
  }
  const double half = std::sqrt(r * r - distance * distance);
  const Point2& d = line.line.direction;
  const Point2 a{foot.x + half * d.x, foot.y + half * d.y};
  const Point2 b{foot.x - half * d.x, foot.y - half * d.y};
  meeting = Distance(a, anchor) < Distance(b, anchor) ? a : b;
  return true;
}

// The point nearest to every line through an anchor along its direction.
Point2 LeastSquaresMeeting(const std::vector<Point2>& anchors, const std::vector<Point2>& dirs) {
  double a = 0, b = 0, c = 0, u = 0, v = 0;
  Point2 mean;
  for (std::size_t i = 0; i < anchors.size(); ++i) {
    const double nx = -dirs[i].y, ny = dirs[i].x;
    const double k = nx * anchors[i].x + ny * anchors[i].y;
    a += nx * nx;
    b += nx * ny;
    c += ny * ny;
    u += nx * k;
    v += ny * k;
    mean.x += anchors[i].x / static_cast<double>(anchors.size());
    mean.y += anchors[i].y / static_cast<double>(anchors.size());
  }
  const double det = a * c - b * b;
  if (std::fabs(det) < 1e-3 * (a + c) * (a + c))
    return mean;
  return {(u * c - v * b) / det, (v * a - u * b) / det};
}

Point2 ToMillimetres(const Point2& p, const VectorDrawing& drawing, std::int32_t height) {
  return {p.x * drawing.mmPerPixelX, (height - p.y) * drawing.mmPerPixelY};
}

double Degrees(const Point2& p, const Point2& centre) {
  double angle = std::atan2(p.y - centre.y, p.x - centre.x) * 180 / kPi;
  return angle < 0 ? angle + 360 : angle;
}

// Whether `angle` lies on the way counter-clockwise from `from` to `to`.
bool Between(double from, double to, double angle) {
  const auto turn = [](double a, double b) { return std::fmod(b - a + 720, 360); };
  return turn(from, angle) < turn(from, to);
}

}  // namespace

void CDrawingPieces::AddStrokes(std::vector<StrokePath> strokes, const SkeletonGraph& graph) {
  CProgressWalk walk(static_cast<std::int64_t>(strokes.size()));
  std::int64_t done = 0;
  for (StrokePath& stroke : strokes) {
    walk.Step(done++);
    if (stroke.points.size() < 2 || PathLength(stroke.points) < m_dPen)
      continue;
    double half = CentrePath(stroke.points, stroke.closed, m_levels, m_dMaxPen);
    if (half <= 0)
      half = m_dPen / 2;
    // A stroke that leaves a junction and comes back round to it is a whole
    // circle when one fits it (a circle that one line touches); any other
    // loop keeps its corner at the junction.
    if (!stroke.closed && stroke.startNode != kNoNode && stroke.startNode == stroke.endNode) {
      std::vector<Point2> loop = stroke.points;
      loop.push_back(loop.front());
      Shape circle;
      if (FitWholeCircle(loop, m_dTolerance, circle.whole)) {
        circle.circle = true;
        circle.throughs = {stroke.startNode};
        m_shapes.push_back(std::move(circle));
        continue;
      }
    }
    const bool freeStart = !stroke.closed && stroke.startNode == kNoNode;
    const bool freeEnd = !stroke.closed && stroke.endNode == kNoNode;
    if (freeStart)
      TrimPathEnd(stroke.points, false, half + 1);
    if (freeEnd)
      TrimPathEnd(stroke.points, true, half + 1);
    Shape shape;
    shape.startNode = stroke.startNode;
    shape.endNode = stroke.endNode;
    shape.throughs = stroke.throughs;
    AddPath(stroke.points, stroke.closed, shape);
    if (freeStart && !m_shapes.empty() && !m_shapes.back().pieces.empty())
      ExtendToInk(m_shapes.back().pieces.front(), true, half);
    if (freeEnd && !m_shapes.empty() && !m_shapes.back().pieces.empty())
      ExtendToInk(m_shapes.back().pieces.back(), false, half);
  }
  MeetAtNodes(graph);
}

// A free end goes on along its piece, line or arc, as far as the ink shows
// the pen's centre went.
void CDrawingPieces::ExtendToInk(PathPiece& piece, bool atStart, double halfWidth) const {
  Point2& end = atStart ? piece.start : piece.end;
  const Point2& other = atStart ? piece.end : piece.start;
  Point2 d = PieceDirection(piece, end);
  const Point2 inner = piece.kind == PathPiece::Arc ? piece.through : other;
  if ((end.x - inner.x) * d.x + (end.y - inner.y) * d.y < 0)
    d = {-d.x, -d.y};
  const double along = InkBeyond(m_ink, end, d, halfWidth);
  if (piece.kind == PathPiece::Line) {
    end = {end.x + along * d.x, end.y + along * d.y};
    return;
  }
  const Point2& c = piece.circle.centre;
  const double rx = end.x - c.x, ry = end.y - c.y;
  // The turn that takes the radius towards d.
  const double angle = (rx * d.y - ry * d.x >= 0 ? 1 : -1) * along / piece.circle.radius;
  end = {c.x + rx * std::cos(angle) - ry * std::sin(angle),
         c.y + rx * std::sin(angle) + ry * std::cos(angle)};
}

void CDrawingPieces::AddOutlines(std::vector<std::vector<Point2>> outlines) {
  for (std::vector<Point2>& outline : outlines) {
    Shape shape;
    shape.layer = VectorLayer::Outline;
    AddPath(outline, true, shape);
  }
}

void CDrawingPieces::AddPath(std::vector<Point2>& points, bool closed, Shape shape) {
  if (closed && FitWholeCircle(points, m_dTolerance, shape.whole)) {
    shape.circle = true;
  } else {
    shape.pieces = SplitPath(points, closed, m_dTolerance);
    if (shape.pieces.empty())
      return;
    // One arc all round a closed path (a circle that lines cross, its
    // points thinned out at the crossings) is the whole circle.
    if (closed && shape.pieces.size() == 1 && shape.pieces[0].kind == PathPiece::Arc) {
      shape.circle = true;
      shape.whole = shape.pieces[0].circle;
      shape.pieces.clear();
    }
  }
  m_shapes.push_back(std::move(shape));
}

void CDrawingPieces::MeetAtNodes(const SkeletonGraph& graph) {
  std::vector<std::vector<NodeEnd>> ends(graph.nodes.size());
  std::vector<std::vector<const PathPiece*>> throughs(graph.nodes.size());
  // A whole circle that runs through a junction is met there like an arc.
  std::deque<PathPiece> circles;
  for (Shape& shape : m_shapes) {
    if (shape.circle) {
      for (int node : shape.throughs) {
        circles.emplace_back();
        circles.back().kind = PathPiece::Arc;
        circles.back().circle = shape.whole;
        throughs[static_cast<std::size_t>(node)].push_back(&circles.back());
      }
      continue;
    }
    if (shape.pieces.empty())
      continue;
    if (shape.startNode != kNoNode)
      ends[static_cast<std::size_t>(shape.startNode)].push_back({&shape.pieces.front(), true});
    if (shape.endNode != kNoNode)
      ends[static_cast<std::size_t>(shape.endNode)].push_back({&shape.pieces.back(), false});
    for (int node : shape.throughs) {
      const Point2 centre = graph.nodes[static_cast<std::size_t>(node)].centre;
      const auto nearest =
          std::min_element(shape.pieces.begin(), shape.pieces.end(),
                           [&centre](const PathPiece& a, const PathPiece& b) {
                             return DistanceToPiece(a, centre) < DistanceToPiece(b, centre);
                           });
      throughs[static_cast<std::size_t>(node)].push_back(&*nearest);
    }
  }
  for (std::size_t n = 0; n < graph.nodes.size(); ++n)
    MeetAtNode(graph.nodes[n], ends[n], throughs[n]);
}

// The lines that end at a junction end on one point: on the stroke that
// runs through it where there is one, else where they come nearest to
// crossing.
void CDrawingPieces::MeetAtNode(const SkeletonNode& node, const std::vector<NodeEnd>& ends,
                                const std::vector<const PathPiece*>& throughs) {
  if (ends.empty() || (ends.size() == 1 && throughs.empty()))
    return;
  const double reach = 3 * (2 * node.halfWidth + 1) + 2 * m_dTolerance;
  std::vector<Point2> anchors, dirs;
  for (const NodeEnd& end : ends) {
    const Point2 anchor = end.atStart ? end.piece->start : end.piece->end;
    anchors.push_back(anchor);
    dirs.push_back(PieceDirection(*end.piece, anchor));
  }
  for (std::size_t i = 0; i < ends.size(); ++i) {
    Point2 meeting = throughs.empty() ? LeastSquaresMeeting(anchors, dirs) : Point2{};
    if (!throughs.empty()) {
      const PathPiece& through = *throughs.front();
      const bool arcOnLine =
          ends[i].piece->kind == PathPiece::Arc && through.kind == PathPiece::Line;
      if (!(arcOnLine &&
            ArcMeetsLine(*ends[i].piece, anchors[i], through, 2 * m_dTolerance, meeting)) &&
          !MeetPiece(anchors[i], dirs[i], through, meeting))
        continue;
    }
    if (Distance(meeting, node.centre) > reach)
      continue;
    (ends[i].atStart ? ends[i].piece->start : ends[i].piece->end) = meeting;
  }
}

void CDrawingPieces::WriteEntities(VectorDrawing& drawing, std::int32_t height) const {
  for (const Shape& shape : m_shapes) {
    if (shape.circle) {
      VectorEntity circle;
      circle.kind = VectorEntity::Circle;
      circle.layer = shape.layer;
      circle.centre = ToMillimetres(shape.whole.centre, drawing, height);
      circle.radius = shape.whole.radius * std::sqrt(drawing.mmPerPixelX * drawing.mmPerPixelY);
      drawing.entities.push_back(circle);
    } else {
      WritePieces(shape, drawing, height);
    }
  }
}

// Runs of three or more short lines, such as the pieces of a hand-drawn
// curve, go out as one polyline; every other piece as its own entity.
void CDrawingPieces::WritePieces(const Shape& shape, VectorDrawing& drawing,
                                 std::int32_t height) const {
  const double shortLine = 3 * m_dPen + 2;
  const auto isShort = [shortLine](const PathPiece& p) {
    return p.kind == PathPiece::Line && Distance(p.start, p.end) < shortLine;
  };
  const auto& pieces = shape.pieces;
  for (std::size_t i = 0; i < pieces.size();) {
    std::size_t run = i;
    while (run < pieces.size() && isShort(pieces[run]))
      ++run;
    VectorEntity entity;
    entity.layer = shape.layer;
    if (run - i >= 3) {
      entity.kind = VectorEntity::Polyline;
      entity.points.push_back(ToMillimetres(pieces[i].start, drawing, height));
      for (std::size_t k = i; k < run; ++k)
        entity.points.push_back(ToMillimetres(pieces[k].end, drawing, height));
      drawing.entities.push_back(entity);
      i = run;
      continue;
    }
    const PathPiece& piece = pieces[i++];
    const Point2 start = ToMillimetres(piece.start, drawing, height);
    const Point2 end = ToMillimetres(piece.end, drawing, height);
    if (piece.kind == PathPiece::Line) {
      entity.points = {start, end};
    } else {
      entity.kind = VectorEntity::Arc;
      entity.centre = ToMillimetres(piece.circle.centre, drawing, height);
      entity.radius = piece.circle.radius * std::sqrt(drawing.mmPerPixelX * drawing.mmPerPixelY);
      entity.startDegrees = Degrees(start, entity.centre);
      entity.endDegrees = Degrees(end, entity.centre);
      const double through = Degrees(ToMillimetres(piece.through, drawing, height), entity.centre);
      if (!Between(entity.startDegrees, entity.endDegrees, through))
        std::swap(entity.startDegrees, entity.endDegrees);
    }
    drawing.entities.push_back(entity);
  }
}

}  // namespace qov
