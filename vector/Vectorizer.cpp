#include "vector/Vectorizer.h"

#include <algorithm>
#include <cmath>

#include "image/DibBlock.h"
#include "platform/Progress.h"
#include "vector/AreaOutlines.h"
#include "vector/Centring.h"
#include "vector/DarkMask.h"
#include "vector/DistanceMap.h"
#include "vector/DrawingPieces.h"
#include "vector/Strokes.h"
#include "vector/Thinning.h"

namespace qov {
namespace {

// The picture's pixel size in millimetres.
void SetScale(const std::byte* block, const VectorizeParams& params, VectorDrawing& drawing) {
  const DibResolution resolution = GetDibResolution(block);
  if (params.dpi > 0) {
    drawing.mmPerPixelX = drawing.mmPerPixelY = 25.4 / params.dpi;
    drawing.resolutionKnown = true;
  } else if (resolution.Known()) {
    drawing.mmPerPixelX = 1000.0 / resolution.xPelsPerMeter;
    drawing.mmPerPixelY = 1000.0 / resolution.yPelsPerMeter;
    drawing.resolutionKnown = true;
  } else {
    drawing.mmPerPixelX = drawing.mmPerPixelY = kAssumedMmPerPixel;
  }
}

// What the settings mean in pixels, with the pen measured from the picture.
struct PixelSettings {
  double maxPen = 0;
  double pen = 0;
  double tolerance = 0;
  std::int64_t speckArea = 0;
};

// Marks the stroke pixels kStrokeBit and those of areas wider than the
// widest pen kAreaBit. An area is what the discs round its pixels deeper in
// the ink than half that width cover, each disc as wide as that pixel's
// distance from white and a little more, so that it reaches into the
// corners the discs leave.
void SplitStrokesFromAreas(const CPixelGrid& distance, double maxPen, CPixelGrid& work) {
  const int core = std::min(254, static_cast<int>(std::lround(kChamferStep * maxPen / 2)));
  const int slack = static_cast<int>(std::lround(kChamferStep * (maxPen / 4 + 1)));
  bool anyCore = false;
  for (std::int32_t y = 0; y < work.Height(); ++y) {
    const std::uint8_t* d = distance.Row(y);
    std::uint8_t* w = work.Row(y);
    for (std::int32_t x = 0; x < work.Width(); ++x) {
      w[x] = d[x] > core ? static_cast<std::uint8_t>(std::min(255, d[x] + slack)) : 0;
      anyCore = anyCore || w[x];
    }
  }
  if (anyCore)
    PropagateReach(work, distance);
  for (std::int32_t y = 0; y < work.Height(); ++y) {
    const std::uint8_t* d = distance.Row(y);
    std::uint8_t* w = work.Row(y);
    for (std::int32_t x = 0; x < work.Width(); ++x)
      w[x] = !d[x] ? 0 : w[x] ? kAreaBit : kStrokeBit;
  }
}

PixelSettings MeasureSettings(const CPixelGrid& ink, const VectorizeParams& params,
                              const VectorDrawing& drawing, CPixelGrid& work) {
  PixelSettings settings;
  const double mmPerPixel = std::sqrt(drawing.mmPerPixelX * drawing.mmPerPixelY);
  const double maxPenMm = params.maxPenMm > 0 ? params.maxPenMm : VectorizeParams().maxPenMm;
  settings.maxPen = std::max(2.0, maxPenMm / mmPerPixel);
  for (std::int32_t y = 0; y < ink.Height(); ++y)
    std::copy_n(ink.Row(y), ink.Width(), work.Row(y));
  DistanceFromWhite(work);
  const int cap = std::min(255, static_cast<int>(kChamferStep * settings.maxPen / 2) + 1);
  const double halfPen = MeasureHalfPen(work, cap);
  settings.pen = halfPen > 0 ? std::max(1.0, 2 * halfPen - 0.5) : 1.0;
  settings.tolerance =
      params.toleranceMm > 0 ? params.toleranceMm / mmPerPixel : std::max(0.5, settings.pen / 4);
  const double speck = params.speckMm2 > 0 ? params.speckMm2 / (mmPerPixel * mmPerPixel)
                                           : settings.pen * settings.pen;
  settings.speckArea = static_cast<std::int64_t>(std::ceil(speck));
  return settings;
}

constexpr std::int64_t kStages = 7;

}  // namespace

VectorDrawing Vectorize(const std::byte* block, const VectorizeParams& params) {
  VectorDrawing drawing;
  SetScale(block, params, drawing);
  const auto W = static_cast<std::int32_t>(DibWidth(block));
  const auto H = static_cast<std::int32_t>(DibHeight(block));
  drawing.width = W * drawing.mmPerPixelX;
  drawing.height = H * drawing.mmPerPixelY;
  if (W <= 0 || H <= 0)
    return drawing;

  // Each stage counts as one step, and a cancel is heard between two of
  // them: the stages' own loops stay free of reporting.
  CProgressWalk walk(kStages);
  int stage = 0;
  CPixelGrid ink(W, H);
  CPixelGrid work(W, H);
  MarkDarkPixels(block, params.threshold, ink);
  walk.Step(++stage);
  const PixelSettings settings = MeasureSettings(ink, params, drawing, work);
  RemoveSpecksAndPinholes(ink, settings.speckArea, settings.speckArea);
  walk.Step(++stage);
  DistanceFromWhite(ink);
  SplitStrokesFromAreas(ink, settings.maxPen, work);
  walk.Step(++stage);
  ThinStrokes(work);
  walk.Step(++stage);

  const CInkSampler levels(block, params.threshold);
  CDrawingPieces pieces(ink, levels, settings.maxPen, settings.pen, settings.tolerance);
  SkeletonGraph graph = TraceSkeleton(work, ink);
  walk.Step(++stage);
  pieces.AddStrokes(JoinStrokes(graph, settings.pen + 1), graph);
  walk.Step(++stage);
  pieces.AddOutlines(TraceAreaOutlines(work));
  pieces.WriteEntities(drawing, H);
  walk.Step(++stage);
  return drawing;
}

}  // namespace qov
