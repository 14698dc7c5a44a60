// The vectorizer on pen-drawn pages whose geometry is known: one LINE for a
// straight stroke at any angle, a CIRCLE for a circle, an ARC for an arc,
// lines that meet at junctions meeting at one point, areas as outlines,
// specks left out, and the drawing's size from the picture's resolution.

#include <algorithm>
#include <cmath>
#include <sstream>

#include "image/DibResolution.h"
#include "platform/File.h"
#include "tests/support/TempDir.h"
#include "tests/vector/PenDrawing.h"
#include "vector/VectorDxf.h"
#include "vector/Vectorizer.h"

namespace qov::test {
namespace {

// A tenth of a millimetre a pixel: the pens of the pages below are 0.4 to
// 0.5 mm wide, well below the widest pen.
constexpr double kTestDpi = 254;
constexpr double kMmPerPixel = 0.1;
// Half a pixel, in millimetres.
constexpr double kHalfPixel = 0.05;
// Where a stroke ends is known to about half a pixel: the pen's round end
// is drawn on whole pixels here, without the grey edge a scan has.
constexpr double kEndTolerance = 0.06;

VectorDrawing VectorizePicture(const Picture& picture, VectorizeParams params = {},
                               DibResolution resolution = {}) {
  if (params.dpi == 0 && !resolution.Known())
    params.dpi = kTestDpi;
  CGlobalOwner block(BlockOf(picture));
  const CGlobalLock lock(block.get());
  SetDibResolution(lock.get(), resolution);
  return Vectorize(lock.get(), params);
}

// A page point (pixels, y down) in the drawing of a page `height` high.
Point2 OnDrawing(const Point2& p, std::int64_t height) {
  return {p.x * kMmPerPixel, (static_cast<double>(height) - p.y) * kMmPerPixel};
}

std::string Describe(const VectorDrawing& drawing) {
  std::ostringstream text;
  for (const VectorEntity& e : drawing.entities) {
    text << "kind " << e.kind << " layer " << static_cast<int>(e.layer) << " centre " << e.centre.x
         << "," << e.centre.y << " r " << e.radius << " points";
    for (const Point2& p : e.points)
      text << " " << p.x << "," << p.y;
    text << "\n";
  }
  return text.str();
}

TEST(Vectorize, StraightStrokeAtEveryAngleIsOneLineWithItsEnds) {
  constexpr std::int64_t kSize = 120;
  for (int step = 0; step < 16; ++step) {
    const double angle = step * kPi / 16;
    const Point2 c{60.3, 59.8};
    const Point2 a{c.x - 45 * std::cos(angle), c.y - 45 * std::sin(angle)};
    const Point2 b{c.x + 45 * std::cos(angle), c.y + 45 * std::sin(angle)};
    const VectorDrawing drawing =
        VectorizePicture(DrawWithPen(kSize, kSize, 4.6, {{PenStroke::Line, a, b}}));
    SCOPED_TRACE("angle step " + std::to_string(step) + "\n" + Describe(drawing));
    ASSERT_EQ(drawing.entities.size(), 1u);
    const VectorEntity& line = drawing.entities[0];
    ASSERT_EQ(line.kind, VectorEntity::Line);
    EXPECT_EQ(line.layer, VectorLayer::Centerline);
    const Point2 ea = OnDrawing(a, kSize), eb = OnDrawing(b, kSize);
    const bool forward = Distance(line.points[0], ea) < Distance(line.points[0], eb);
    EXPECT_LE(Distance(line.points[0], forward ? ea : eb), kEndTolerance);
    EXPECT_LE(Distance(line.points[1], forward ? eb : ea), kEndTolerance);
  }
}

struct RoundCase {
  const char* name;
  PenStroke stroke;
  VectorEntity::Kind kind;
};

TEST(Vectorize, CirclesAndArcsAreOneCircleOrArc) {
  constexpr std::int64_t kSize = 100;
  const RoundCase cases[] = {
      {"circle", {PenStroke::Arc, {50, 50}, {}, 30, 0, 360}, VectorEntity::Circle},
      {"small circle", {PenStroke::Arc, {50, 50}, {}, 8, 0, 360}, VectorEntity::Circle},
      {"arc", {PenStroke::Arc, {50, 50}, {}, 30, 30, 200}, VectorEntity::Arc},
      {"arc over 0", {PenStroke::Arc, {50, 50}, {}, 35, 300, 80}, VectorEntity::Arc},
  };
  for (const RoundCase& c : cases) {
    const VectorDrawing drawing = VectorizePicture(DrawWithPen(kSize, kSize, 4, {c.stroke}));
    SCOPED_TRACE(std::string(c.name) + "\n" + Describe(drawing));
    ASSERT_EQ(drawing.entities.size(), 1u);
    const VectorEntity& e = drawing.entities[0];
    ASSERT_EQ(e.kind, c.kind);
    EXPECT_LE(Distance(e.centre, OnDrawing(c.stroke.a, kSize)), kHalfPixel);
    EXPECT_NEAR(e.radius, c.stroke.radius * kMmPerPixel, kHalfPixel);
    if (c.kind == VectorEntity::Arc) {
      EXPECT_NEAR(e.startDegrees, c.stroke.fromDegrees, 3);
      EXPECT_NEAR(e.endDegrees, c.stroke.toDegrees, 3);
    }
  }
}

struct JunctionCase {
  const char* name;
  std::vector<PenStroke> strokes;
  std::size_t lines;
  // How many line ends lie on one common point, or on another line.
  std::size_t meetingEnds;
};

// The ends of the lines that touch another line: each exactly on it.
std::size_t EndsOnOtherLines(const VectorDrawing& drawing) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < drawing.entities.size(); ++i) {
    for (const Point2& end : drawing.entities[i].points) {
      for (std::size_t j = 0; j < drawing.entities.size(); ++j) {
        if (i == j)
          continue;
        const Point2 a = drawing.entities[j].points[0], b = drawing.entities[j].points[1];
        const double cross = (b.x - a.x) * (end.y - a.y) - (b.y - a.y) * (end.x - a.x);
        if (std::fabs(cross) / Distance(a, b) < 1e-6) {
          ++count;
          break;
        }
      }
    }
  }
  return count;
}

TEST(Vectorize, LinesThatMeetOnPaperMeetAtOnePoint) {
  constexpr std::int64_t kSize = 100;
  const JunctionCase cases[] = {
      {"T", {{PenStroke::Line, {15, 30}, {85, 30}}, {PenStroke::Line, {50, 30}, {50, 85}}}, 2, 1},
      {"X", {{PenStroke::Line, {15, 20}, {85, 80}}, {PenStroke::Line, {15, 80}, {85, 20}}}, 2, 0},
      {"L", {{PenStroke::Line, {20, 20}, {20, 80}}, {PenStroke::Line, {20, 80}, {80, 80}}}, 2, 2},
  };
  for (const JunctionCase& c : cases) {
    const VectorDrawing drawing = VectorizePicture(DrawWithPen(kSize, kSize, 5, c.strokes));
    SCOPED_TRACE(std::string(c.name) + "\n" + Describe(drawing));
    ASSERT_EQ(drawing.entities.size(), c.lines);
    for (const VectorEntity& e : drawing.entities)
      ASSERT_EQ(e.kind, VectorEntity::Line);
    EXPECT_EQ(EndsOnOtherLines(drawing), c.meetingEnds);
  }
}

// A circle that a line ends on stays one CIRCLE: its stroke leaves the
// junction and comes back round to it. The line ends on the circle.
TEST(Vectorize, CirclesThatLinesMeetStayWhole) {
  constexpr std::int64_t kSize = 100;
  const PenStroke circle{PenStroke::Arc, {50, 50}, {}, 30, 0, 360};
  const struct {
    const char* name;
    PenStroke line;
    std::size_t lines;
  } cases[] = {
      {"a line ending on it from above", {PenStroke::Line, {50, 5}, {50, 20}}, 1},
      {"a line ending on it from the side", {PenStroke::Line, {95, 45}, {80, 48}}, 1},
  };
  for (const auto& c : cases) {
    const VectorDrawing drawing = VectorizePicture(DrawWithPen(kSize, kSize, 4, {circle, c.line}));
    SCOPED_TRACE(std::string(c.name) + "\n" + Describe(drawing));
    std::size_t circles = 0, lines = 0;
    for (const VectorEntity& e : drawing.entities) {
      circles += e.kind == VectorEntity::Circle;
      lines += e.kind == VectorEntity::Line;
    }
    EXPECT_EQ(circles, 1u);
    EXPECT_EQ(lines, c.lines);
    ASSERT_EQ(drawing.entities.size(), 1 + c.lines);
    // The line ends on the circle.
    const auto round =
        std::find_if(drawing.entities.begin(), drawing.entities.end(),
                     [](const VectorEntity& e) { return e.kind == VectorEntity::Circle; });
    const auto line =
        std::find_if(drawing.entities.begin(), drawing.entities.end(),
                     [](const VectorEntity& e) { return e.kind == VectorEntity::Line; });
    double nearest = HUGE_VAL;
    for (const Point2& end : line->points)
      nearest = std::min(nearest, std::fabs(Distance(end, round->centre) - round->radius));
    EXPECT_LT(nearest, 1e-6);
  }
}

TEST(Vectorize, AreasBecomeOutlinesAndSpecksNothing) {
  const Picture box = DrawWithPen(100, 100, 1, {{PenStroke::Box, {20, 20}, {70, 60}}});
  const VectorDrawing boxDrawing = VectorizePicture(box);
  SCOPED_TRACE(Describe(boxDrawing));
  ASSERT_EQ(boxDrawing.entities.size(), 4u);
  for (const VectorEntity& e : boxDrawing.entities)
    EXPECT_EQ(e.layer, VectorLayer::Outline);

  const Picture speck = DrawWithPen(
      100, 100, 5, {{PenStroke::Line, {10, 10}, {90, 10}}, {PenStroke::Disc, {50, 60}, {}, 1.2}});
  EXPECT_EQ(VectorizePicture(speck).entities.size(), 1u);
}

TEST(Vectorize, PagesWithoutStrokesGiveAnEmptyDrawingAndAWholeFile) {
  TempDir dir;
  const Picture pages[] = {MakePicture({{kWhite}}), MakePicture({{kBlack}}),
                           MakePicture(50, 50, [](std::int64_t, std::int64_t) { return kWhite; })};
  for (const Picture& page : pages) {
    const VectorDrawing drawing = VectorizePicture(page);
    EXPECT_TRUE(drawing.entities.empty());
    const std::string path = dir.File("empty.dxf");
    {
      CFile file(path, CFile::modeCreate | CFile::modeWrite);
      WriteVectorDxf(file, drawing);
      file.Close();
    }
    const Bytes bytes = ReadBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("ENTITIES\n0\nENDSEC\n0\nEOF\n"), std::string::npos) << text;
  }
}

struct ScaleCase {
  DibResolution resolution;
  double dpi;
  double mmPerPixel;
  bool known;
};

TEST(Vectorize, SizeComesFromTheGivenOrThePicturesResolution) {
  const ScaleCase cases[] = {
      {{11811, 11811}, 0, 1000.0 / 11811, true},  // 300 dpi in the picture
      {{15748, 15748}, 0, 1000.0 / 15748, true},  // 400 dpi
      {{11811, 11811}, 200, 25.4 / 200, true},    // the caller's resolution wins
      {{}, 0, kAssumedMmPerPixel, false},
  };
  const Picture page = DrawWithPen(60, 40, 4, {{PenStroke::Line, {10, 20}, {50, 20}}});
  for (const ScaleCase& c : cases) {
    VectorizeParams params;
    params.dpi = c.dpi;
    params.maxPenMm = 10 * c.mmPerPixel;
    CGlobalOwner block(BlockOf(page));
    const CGlobalLock lock(block.get());
    SetDibResolution(lock.get(), c.resolution);
    const VectorDrawing drawing = Vectorize(lock.get(), params);
    EXPECT_DOUBLE_EQ(drawing.mmPerPixelX, c.mmPerPixel);
    EXPECT_EQ(drawing.resolutionKnown, c.known);
    EXPECT_DOUBLE_EQ(drawing.width, 60 * c.mmPerPixel);
    ASSERT_EQ(drawing.entities.size(), 1u);
    const VectorEntity& line = drawing.entities[0];
    EXPECT_NEAR(Distance(line.points[0], line.points[1]), 40 * c.mmPerPixel, c.mmPerPixel);
  }
}

}  // namespace
}  // namespace qov::test
