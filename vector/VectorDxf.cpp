#include "vector/VectorDxf.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/Archive.h"

namespace qov {
namespace {

struct Extents {
  Point2 low{HUGE_VAL, HUGE_VAL};
  Point2 high{-HUGE_VAL, -HUGE_VAL};
  void Add(const Point2& p) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
  }
  bool Empty() const { return low.x > high.x; }
};

Point2 OnCircle(const VectorEntity& e, double degrees) {
  const double a = degrees * kPi / 180;
  return {e.centre.x + e.radius * std::cos(a), e.centre.y + e.radius * std::sin(a)};
}

// An arc's ends, and the points where it crosses the axes through its centre.
void AddArc(const VectorEntity& e, Extents& extents) {
  extents.Add(OnCircle(e, e.startDegrees));
  extents.Add(OnCircle(e, e.endDegrees));
  const double sweep = std::fmod(e.endDegrees - e.startDegrees + 720, 360);
  for (double axis = 0; axis < 360; axis += 90) {
    if (std::fmod(axis - e.startDegrees + 720, 360) <= sweep)
      extents.Add(OnCircle(e, axis));
  }
}

Extents DrawingExtents(const VectorDrawing& drawing) {
  Extents extents;
  for (const VectorEntity& e : drawing.entities) {
    if (e.kind == VectorEntity::Circle) {
      extents.Add({e.centre.x - e.radius, e.centre.y - e.radius});
      extents.Add({e.centre.x + e.radius, e.centre.y + e.radius});
    } else if (e.kind == VectorEntity::Arc) {
      AddArc(e, extents);
    } else {
      for (const Point2& p : e.points)
        extents.Add(p);
    }
  }
  if (extents.Empty()) {
    extents.Add({0, 0});
    extents.Add({drawing.width, drawing.height});
  }
  return extents;
}

class CDxfText {
 public:
  explicit CDxfText(CFile& file) : m_archive(&file, CArchive::store, 64 * 1024) {}

  void Group(int code, std::string_view value) {
    m_text.clear();
    m_text += std::to_string(code);
    m_text += '\n';
    m_text += value;
    m_text += '\n';
    m_archive.Write(m_text.data(), m_text.size());
  }
  void Group(int code, int value) { Group(code, std::to_string(value)); }
  // Ten-thousandths of a millimetre, trailing zeros dropped.
  void Number(int code, double value) {
    char buffer[64];
    if (std::fabs(value) < 5e-5)
      value = 0;
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    while (text.back() == '0')
      text.remove_suffix(1);
    if (text.back() == '.')
      text.remove_suffix(1);
    Group(code, text);
  }
  void Point(int code, const Point2& p) {
    Number(code, p.x);
    Number(code + 10, p.y);
    Number(code + 20, 0);
  }
  void Close() { m_archive.Close(); }

 private:
  CArchive m_archive;
  std::string m_text;
};

void WriteHeader(CDxfText& dxf, const VectorDrawing& drawing) {
  const Extents extents = DrawingExtents(drawing);
  dxf.Group(0, "SECTION");
  dxf.Group(2, "HEADER");
  dxf.Group(9, "$ACADVER");
  dxf.Group(1, "AC1009");
  dxf.Group(9, "$INSUNITS");
  dxf.Group(70, 4);  // millimetres
  dxf.Group(9, "$MEASUREMENT");
  dxf.Group(70, 1);  // metric
  dxf.Group(9, "$EXTMIN");
  dxf.Point(10, extents.low);
  dxf.Group(9, "$EXTMAX");
  dxf.Point(10, extents.high);
  dxf.Group(9, "$LIMMIN");
  dxf.Number(10, 0);
  dxf.Number(20, 0);
  dxf.Group(9, "$LIMMAX");
  dxf.Number(10, drawing.width);
  dxf.Number(20, drawing.height);
  dxf.Group(0, "ENDSEC");
}

void WriteLayer(CDxfText& dxf, const char* name, int colour) {
  dxf.Group(0, "LAYER");
  dxf.Group(2, name);
  dxf.Group(70, 0);
  dxf.Group(62, colour);
  dxf.Group(6, "CONTINUOUS");
}

void WriteTables(CDxfText& dxf) {
  dxf.Group(0, "SECTION");
  dxf.Group(2, "TABLES");
  dxf.Group(0, "TABLE");
  dxf.Group(2, "LTYPE");
  dxf.Group(70, 1);
  dxf.Group(0, "LTYPE");
  dxf.Group(2, "CONTINUOUS");
  dxf.Group(70, 0);
  dxf.Group(3, "Solid line");
  dxf.Group(72, 65);
  dxf.Group(73, 0);
  dxf.Number(40, 0);
  dxf.Group(0, "ENDTAB");
  dxf.Group(0, "TABLE");
  dxf.Group(2, "LAYER");
  dxf.Group(70, 3);
  WriteLayer(dxf, "0", 7);
  WriteLayer(dxf, kCenterlineLayer, 7);
  WriteLayer(dxf, kOutlineLayer, 4);
  dxf.Group(0, "ENDTAB");
  dxf.Group(0, "ENDSEC");
  dxf.Group(0, "SECTION");
  dxf.Group(2, "BLOCKS");
  dxf.Group(0, "ENDSEC");
}

void WriteEntity(CDxfText& dxf, const VectorEntity& e) {
  static constexpr const char* kKinds[] = {"LINE", "ARC", "CIRCLE", "POLYLINE"};
  const char* layer = e.layer == VectorLayer::Outline ? kOutlineLayer : kCenterlineLayer;
  dxf.Group(0, kKinds[e.kind]);
  dxf.Group(8, layer);
  switch (e.kind) {
    case VectorEntity::Line:
      dxf.Point(10, e.points[0]);
      dxf.Point(11, e.points[1]);
      return;
    case VectorEntity::Arc:
    case VectorEntity::Circle:
      dxf.Point(10, e.centre);
      dxf.Number(40, e.radius);
      if (e.kind == VectorEntity::Arc) {
        dxf.Number(50, e.startDegrees);
        dxf.Number(51, e.endDegrees);
      }
      return;
    case VectorEntity::Polyline:
      dxf.Group(66, 1);
      dxf.Point(10, {0, 0});
      dxf.Group(70, e.closed ? 1 : 0);
      for (const Point2& p : e.points) {
        dxf.Group(0, "VERTEX");
        dxf.Group(8, layer);
        dxf.Point(10, p);
      }
      dxf.Group(0, "SEQEND");
      dxf.Group(8, layer);
      return;
  }
}

}  // namespace

void WriteVectorDxf(CFile& file, const VectorDrawing& drawing) {
  CDxfText dxf(file);
  WriteHeader(dxf, drawing);
  WriteTables(dxf);
  dxf.Group(0, "SECTION");
  dxf.Group(2, "ENTITIES");
  for (const VectorEntity& e : drawing.entities)
    WriteEntity(dxf, e);
  dxf.Group(0, "ENDSEC");
  dxf.Group(0, "EOF");
  dxf.Close();
}

}  // namespace qov
