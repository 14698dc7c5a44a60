// The raster commands on an A4 page scanned at 300 dpi (2480 × 3508), run
// through the command boundary as the menu runs them: the undo copy on the
// clipboard, then one lock and unlock of the picture per pixel operation.
// Each pass also alone, on one core, without the undo copy and the repaint.
// And the undo store's round trip against a plain memcpy of the block.
// The passes alone run twice: /0 without anyone listening to their
// progress, /1 with a listener that does what the window's does on every
// step before its dialog shows (reads its clock and compares).

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/BenchPicture.h"
#include "image/DibBlock.h"
#include "image/QOV_V2Doc.h"
#include "platform/CmdTarget.h"
#include "platform/Dialog.h"
#include "platform/GlobalMemory.h"
#include "platform/Progress.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/HeadlessView.h"
#include "raster/Dither.h"
#include "raster/ErrorDiffusion.h"
#include "raster/Outline.h"
#include "raster/Threshold.h"
#include "res/Resource.h"
#include "res/SystemResources.h"
#include "view/QOV_V2View.h"

namespace {

using namespace qov;

constexpr std::int64_t kWidth = 2480;
constexpr std::int64_t kHeight = 3508;
constexpr std::int64_t kPixels = kWidth * kHeight;
constexpr std::size_t kStride = (kWidth * 3 + 3) / 4 * 4;
constexpr std::size_t kBlockSize = 40 + kStride * kHeight;

enum class Content { Photo, BlackAndWhite };

// A smooth colour photograph stand-in, or a page of black discs on white
// (what the outline pass usually gets).
CGlobalOwner MakePage(Content content) {
  return bench::MakeBlock24(kWidth, kHeight, [content](std::int64_t x, std::int64_t row) {
    if (content == Content::Photo) {
      return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(x * 255 / kWidth),
                                         static_cast<std::uint8_t>(row * 255 / kHeight),
                                         static_cast<std::uint8_t>((x + row) * 7 % 256)};
    }
    const std::int64_t dx = x % 200 - 100, dy = row % 200 - 100;
    const std::uint8_t v = dx * dx + dy * dy < 80 * 80 ? 0 : 255;
    return std::array<std::uint8_t, 3>{v, v, v};
  });
}

class Page {
 public:
  explicit Page(Content content) : m_original(MakePage(content)) {
    view.SetDocument(&doc);
    doc.ReplaceDib(CopyDibBlock(m_original.get()));
    view.OnInitialUpdate();
  }
  // Puts the original picture back (outside the timing).
  void Restore() {
    CGlobalLock from(m_original.get());
    CGlobalLock to(doc.m_hDib);
    std::memcpy(to.get(), from.get(), kBlockSize);
  }

  ScopedHeadlessPlatform platform;
  CQOV_V2Doc doc;
  CQOV_V2View view;
  HeadlessViewHost host{view, {1920, 1080}};

 private:
  CGlobalOwner m_original;
};

void SetPixelRate(benchmark::State& state) {
  state.counters["Mpixel/s"] = benchmark::Counter(static_cast<double>(kPixels) / 1e6,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void RunCommand(benchmark::State& state, UINT command, Content content) {
  Page page(content);
  for (auto _ : state) {
    state.PauseTiming();
    page.Restore();
    if (command == ID_BINARIZE) {
      page.platform.backend().QueueDialog([](CDialog& dlg) {
        dlg.UserMoveTrackbar(IDC_SLIDER_THRESHOLD, 50);
        dlg.UserClick(IDOK);
      });
    }
    state.ResumeTiming();
    benchmark::DoNotOptimize(ExecuteCommand(page.view, command));
  }
  SetPixelRate(state);
}

class ClockListener : public CProgress {
 public:
  void BeginWalk(std::int64_t /*total*/) override { m_start = ProgressNow(); }
  void EndWalk() noexcept override {}
  void Step(std::int64_t done) override {
    if (ProgressNow() - m_start > std::chrono::hours(1))
      benchmark::DoNotOptimize(done);
  }

 private:
  std::chrono::milliseconds m_start{};
};

template <class Pass>
void RunPass(benchmark::State& state, Content content, Pass pass) {
  Page page(content);
  page.doc.UpdateImageSize();
  ClockListener listener;
  const CProgressScope listening(state.range(0) != 0 ? &listener : nullptr);
  for (auto _ : state) {
    state.PauseTiming();
    page.Restore();
    state.ResumeTiming();
    pass(page.doc);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state);
}

void BM_ThresholdPass(benchmark::State& state) {
  RunPass(state, Content::Photo, [](CQOV_V2Doc& doc) { ThresholdPass(doc, 50); });
}
void BM_Dither1Pass(benchmark::State& state) {
  RunPass(state, Content::Photo, Dither1Pass);
}
void BM_Dither2Pass(benchmark::State& state) {
  RunPass(state, Content::Photo, Dither2Pass);
}
void BM_ErrorDiffusionPass(benchmark::State& state) {
  RunPass(state, Content::Photo, ErrorDiffusionPass);
}
void BM_OutlinePass(benchmark::State& state) {
  RunPass(state, Content::BlackAndWhite, OutlinePass);
}

void BM_Binarize(benchmark::State& state) {
  RunCommand(state, ID_BINARIZE, Content::Photo);
}
void BM_Dither1(benchmark::State& state) {
  RunCommand(state, ID_DITHER1, Content::Photo);
}
void BM_Dither2(benchmark::State& state) {
  RunCommand(state, ID_DITHER2, Content::Photo);
}
void BM_ErrorDiffusion(benchmark::State& state) {
  RunCommand(state, ID_ERROR_DIFFUSION, Content::Photo);
}
void BM_Outline(benchmark::State& state) {
  RunCommand(state, ID_OUTLINE, Content::BlackAndWhite);
}

// One step of a walk to the window-like listener: what reporting adds to
// each row of a pass, steadier to measure on a busy machine than the
// difference of two passes.
void BM_ProgressStep(benchmark::State& state) {
  ClockListener listener;
  const CProgressScope listening(&listener);
  CProgressWalk walk(kHeight);
  std::int64_t row = 0;
  for (auto _ : state)
    walk.Step(++row);
}

// The undo store's round trip: the copy onto the clipboard and the paste
// back into the document.
void BM_CopyThenPaste(benchmark::State& state) {
  Page page(Content::Photo);
  for (auto _ : state) {
    page.view.CopyToClipboard();
    page.view.PasteFromClipboard();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBlockSize));
}

// Each half alone.
void BM_CopyToClipboard(benchmark::State& state) {
  Page page(Content::Photo);
  for (auto _ : state)
    page.view.CopyToClipboard();
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBlockSize));
}

void BM_PasteFromClipboard(benchmark::State& state) {
  Page page(Content::Photo);
  page.view.CopyToClipboard();
  for (auto _ : state)
    page.view.PasteFromClipboard();
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBlockSize));
}

// The baseline: one memcpy of the block into memory already in use.
void BM_MemcpyOfTheBlock(benchmark::State& state) {
  const CGlobalOwner source(MakePage(Content::Photo));
  std::vector<std::byte> target(kBlockSize, std::byte{1});
  for (auto _ : state) {
    CGlobalLock from(source.get());
    std::memcpy(target.data(), from.get(), kBlockSize);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBlockSize));
}

// The same into a new block, as any copy that outlives the original needs.
void BM_MemcpyIntoANewBlock(benchmark::State& state) {
  const CGlobalOwner source(MakePage(Content::Photo));
  for (auto _ : state) {
    const CGlobalOwner target = GlobalAllocOwned(GHND, kBlockSize);
    CGlobalLock from(source.get());
    CGlobalLock to(target.get());
    std::memcpy(to.get(), from.get(), kBlockSize);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBlockSize));
}

BENCHMARK(BM_Binarize)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Dither1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Dither2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ErrorDiffusion)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Outline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ThresholdPass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Dither1Pass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Dither2Pass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ErrorDiffusionPass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OutlinePass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProgressStep);
BENCHMARK(BM_CopyThenPaste)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyToClipboard)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PasteFromClipboard)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MemcpyOfTheBlock)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MemcpyIntoANewBlock)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qov::SetResources(&qov::SystemResources());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
