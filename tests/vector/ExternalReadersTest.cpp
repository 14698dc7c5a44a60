// The vectorizer's drawing read by the DXF readers other programs are built
// on: dxflib, dime and GDAL's OGR driver each find every entity of every
// kind, on the layers the tables declare.

#include <dime/Input.h>
#include <dime/Model.h>
#include <dime/entities/Entity.h>
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <map>
#include <set>

#include "platform/File.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"
#include "tests/vector/PenDrawing.h"
#include "vector/VectorDxf.h"
#include "vector/Vectorizer.h"

namespace qov::test {
namespace {

// Entities by their DXF name, as the vectorizer made them.
using Counts = std::map<std::string, int>;

class ExternalReaders : public ::testing::Test {
 protected:
  void SetUp() override {
    // A page with lines, a circle, an arc and a filled box, vectorized, and
    // a polyline of each layer added: what the writer puts out of every kind.
    const std::vector<PenStroke> strokes = {{PenStroke::Line, {10, 10}, {150, 14}},
                                            {PenStroke::Arc, {50, 60}, {}, 25, 0, 360},
                                            {PenStroke::Arc, {120, 60}, {}, 20, 20, 160},
                                            {PenStroke::Box, {100, 90}, {140, 110}}};
    CGlobalOwner block(BlockOf(DrawWithPen(160, 130, 3.5, strokes)));
    const CGlobalLock lock(block.get());
    VectorizeParams params;
    params.dpi = 254;
    drawing = Vectorize(lock.get(), params);
    VectorEntity polyline;
    polyline.kind = VectorEntity::Polyline;
    polyline.points = {{1, 1}, {2, 1.5}, {3, 1}, {4, 1.5}};
    drawing.entities.push_back(polyline);
    polyline.layer = VectorLayer::Outline;
    polyline.closed = true;
    drawing.entities.push_back(polyline);
    static const char* const kNames[] = {"LINE", "ARC", "CIRCLE", "POLYLINE"};
    for (const VectorEntity& e : drawing.entities)
      ++expected[kNames[e.kind]];
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    WriteVectorDxf(file, drawing);
    file.Close();
  }

  TempDir dir;
  const std::string path = dir.File("drawing.dxf");
  VectorDrawing drawing;
  Counts expected;
};

class CDxflibCounter : public DL_CreationAdapter {
 public:
  void addLine(const DL_LineData&) override { ++counts["LINE"]; }
  void addArc(const DL_ArcData&) override { ++counts["ARC"]; }
  void addCircle(const DL_CircleData&) override { ++counts["CIRCLE"]; }
  void addPolyline(const DL_PolylineData&) override { ++counts["POLYLINE"]; }
  void addLayer(const DL_LayerData& data) override { layers.insert(data.name); }
  Counts counts;
  std::set<std::string> layers;
};

TEST_F(ExternalReaders, DxflibReadsEveryEntityAndBothLayers) {
  ASSERT_GE(expected["LINE"], 1);
  ASSERT_GE(expected["CIRCLE"], 1);
  ASSERT_GE(expected["ARC"], 1);
  CDxflibCounter counter;
  DL_Dxf dxf;
  ASSERT_TRUE(dxf.in(path, &counter));
  EXPECT_EQ(counter.counts, expected);
  EXPECT_TRUE(counter.layers.count(kCenterlineLayer) && counter.layers.count(kOutlineLayer));
}

bool CountDimeEntity(const dimeState* const, dimeEntity* entity, void* counts) {
  ++(*static_cast<Counts*>(counts))[entity->getEntityName()];
  return true;
}

TEST_F(ExternalReaders, DimeReadsEveryEntity) {
  dimeInput in;
  ASSERT_TRUE(in.setFile(path.c_str()));
  dimeModel model;
  ASSERT_TRUE(model.read(&in));
  Counts counts;
  model.traverseEntities(CountDimeEntity, &counts, false, true, false);
  EXPECT_EQ(counts, expected);
}

TEST_F(ExternalReaders, GdalReadsEveryEntity) {
  if (RunShell("command -v ogrinfo").exitStatus != 0)
    GTEST_SKIP() << "GDAL's ogrinfo is not installed";
  const ProgramResult result = RunShell("ogrinfo -ro -al -so " + ShellQuote(path));
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  int total = 0;
  for (const auto& [name, count] : expected)
    total += count;
  EXPECT_NE(result.out.find("Feature Count: " + std::to_string(total) + "\n"), std::string::npos)
      << result.out;
}

}  // namespace
}  // namespace qov::test
