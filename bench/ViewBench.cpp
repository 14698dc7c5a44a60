// Repainting the visible part of a large picture at ×8 in a 1920 × 1080
// window, at two picture sizes: the work must follow the window, not the
// picture. Rendered by the headless device context, and only recorded.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "image/QOV_V2Doc.h"
#include "platform/GlobalMemory.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/HeadlessView.h"
#include "platform/headless/RecordingDC.h"
#include "view/QOV_V2View.h"

namespace {

using namespace qov;

constexpr CSize kWindow{1920, 1080};
constexpr int kScale = 8;

HGLOBAL MakePicture(std::int64_t side) {
  const auto stride = static_cast<std::size_t>((side * 3 + 3) / 4 * 4);
  HGLOBAL h = GlobalAlloc(GHND, 40 + stride * static_cast<std::size_t>(side));
  CGlobalLock lock(h);
  std::byte* p = lock.get();
  const auto put = [p](std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i)
      p[at + i] = static_cast<std::byte>(v >> (8 * i));
  };
  put(0, 40);
  put(4, static_cast<std::uint32_t>(side));
  put(8, static_cast<std::uint32_t>(side));
  p[12] = std::byte{1};
  p[14] = std::byte{24};
  for (std::int64_t row = 0; row < side; ++row) {
    std::byte* px = p + 40 + stride * static_cast<std::size_t>(row);
    for (std::int64_t x = 0; x < side * 3; ++x)
      px[x] = static_cast<std::byte>((x ^ row) & 0xFF);
  }
  return h;
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
