// Repainting the visible part of a large picture at ×8 in a 1920 × 1080
// window, at two picture sizes: the work must follow the window, not the
// picture. Rendered by the headless device context, and only recorded.

#include <benchmark/benchmark.h>
#include <array>

#include <cstdint>
#include <memory>

#include "bench/BenchPicture.h"
#include "image/QOV_V2Doc.h"
#include "platform/GlobalMemory.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/HeadlessView.h"
#include "tests/support/RecordingDC.h"
#include "view/QOV_V2View.h"

namespace {

using namespace qov;

constexpr CSize kWindow{1920, 1080};
constexpr int kScale = 8;

CGlobalOwner MakePicture(std::int64_t side) {
  return bench::MakeBlock24(side, side, [](std::int64_t x, std::int64_t row) {
    const auto byte = [row](std::int64_t i) { return static_cast<std::uint8_t>((i ^ row) & 0xFF); };
    return std::array<std::uint8_t, 3>{byte(3 * x), byte(3 * x + 1), byte(3 * x + 2)};
  });
}

// A view of a side × side picture at ×8, scrolled to its middle.
struct ScrolledView {
  explicit ScrolledView(std::int64_t side) {
    view.SetDocument(&doc);
    view.m_nScale = kScale;
    doc.ReplaceDib(MakePicture(side));
    view.OnInitialUpdate();
    view.ScrollToPosition({side * kScale / 2, side * kScale / 2});
  }
  ScopedHeadlessPlatform platform;
  CQOV_V2Doc doc;
  CQOV_V2View view;
  HeadlessViewHost host{view, kWindow};
};

void BM_RepaintRendered(benchmark::State& state) {
  ScrolledView scrolled(state.range(0));
  for (auto _ : state) {
    RecordingDC dc(kWindow.cx, kWindow.cy);
    scrolled.host.Paint(dc);
    benchmark::DoNotOptimize(dc.PixelAt(0, 0));
  }
  state.counters["Mpixel/s"] =
      benchmark::Counter(static_cast<double>(kWindow.cx * kWindow.cy) / 1e6,
                         benchmark::Counter::kIsIterationInvariantRate);
}

void BM_RepaintRecorded(benchmark::State& state) {
  ScrolledView scrolled(state.range(0));
  for (auto _ : state) {
    RecordingDC dc;
    scrolled.host.Paint(dc);
    benchmark::DoNotOptimize(dc.Calls().data());
  }
}

BENCHMARK(BM_RepaintRendered)->Arg(2500)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintRecorded)->Arg(2500)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
