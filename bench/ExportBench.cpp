// Throughput of the DXF exports written to a file, and the cost of one
// formatted number, on an A4 page scanned at 300 dpi and on a fully black
// 2000 × 2000 picture. The archive's buffer size is swept, from the
// archive's default of 512 bytes to kDxfBufferSize (64 KiB), the size the
// exports use.
//
//   bench_export [benchmark flags]
//   bench_export --write-a4 FILE   writes the A4 drawing as a 24-bit .bmp
//                                  (the input of compare-peers.sh)

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "export/AutoTrace.h"
#include "export/DotsToCrosses.h"
#include "export/DotsToLines.h"
#include "export/DxfNumber.h"
#include "export/DxfWriter.h"
#include "export/ExportFrame.h"
#include "image/DibFile.h"
#include "image/QOV_V2Doc.h"

namespace qov {
namespace {

// A white 24-bit picture to draw black lines on, y from 1 (top) to H.
class Canvas {
 public:
  Canvas(std::int32_t W, std::int32_t H, std::uint8_t fill)
      : m_W(W), m_H(H), m_stride((3 * static_cast<std::size_t>(W) + 3) / 4 * 4) {
    m_block = GlobalAllocOwned(GHND, 40 + m_stride * static_cast<std::size_t>(H));
    CGlobalLock lock(m_block.get());
    std::byte* p = lock.get();
    const std::uint32_t header[] = {40, static_cast<std::uint32_t>(W),
                                    static_cast<std::uint32_t>(H), 1 | (24u << 16)};
    std::memcpy(p, header, sizeof header);
    std::memset(p + 40, fill, m_stride * static_cast<std::size_t>(H));
  }

  CGlobalOwner Release() { return std::move(m_block); }

  void Disc(double cx, double cy, double r) {
    CGlobalLock lock(m_block.get());
    const auto x0 = static_cast<std::int64_t>(std::floor(cx - r));
    const auto y0 = static_cast<std::int64_t>(std::floor(cy - r));
    for (std::int64_t y = y0; y <= static_cast<std::int64_t>(std::ceil(cy + r)); ++y) {
      for (std::int64_t x = x0; x <= static_cast<std::int64_t>(std::ceil(cx + r)); ++x) {
        const double dx = static_cast<double>(x) - cx, dy = static_cast<double>(y) - cy;
        if (dx * dx + dy * dy > r * r || x < 0 || x >= m_W || y < 1 || y > m_H)
          continue;
        std::memset(lock.get() + 40 + 3 * x + static_cast<std::int64_t>(m_stride) * (m_H - y), 0,
                    3);
      }
    }
  }

  void Line(double x0, double y0, double x1, double y1, double pen) {
    const int steps = static_cast<int>(std::hypot(x1 - x0, y1 - y0)) + 1;
    for (int i = 0; i <= steps; ++i) {
      const double t = static_cast<double>(i) / steps;
      Disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, pen);
    }
  }

  void Circle(double cx, double cy, double r, double pen) {
    const int steps = static_cast<int>(2 * M_PI * r) + 8;
    for (int i = 0; i < steps; ++i) {
      const double a = 2 * M_PI * i / steps;
      Disc(cx + r * std::cos(a), cy + r * std::sin(a), pen);
    }
  }

  void Rectangle(double x0, double y0, double x1, double y1, double pen) {
    Line(x0, y0, x1, y0, pen);
    Line(x1, y0, x1, y1, pen);
    Line(x1, y1, x0, y1, pen);
    Line(x0, y1, x0, y0, pen);
  }

 private:
  std::int32_t m_W, m_H;
  std::size_t m_stride;
  CGlobalOwner m_block;
};

// A mechanical drawing on an A4 sheet at 300 dpi: frame, title block with
// lettering, a plate with holes, a hatched section, centre and dimension
// lines. Fixed, so that every run measures the same picture.
CGlobalOwner MakeA4Drawing() {
  Canvas c(2480, 3508, 0xFF);
  c.Rectangle(70, 70, 2410, 3438, 3);
  c.Rectangle(1400, 3000, 2410, 3438, 2);
  for (int row = 0; row < 5; ++row) {
    const double y = 3050 + 75.0 * row;
    c.Line(1400, y + 40, 2410, y + 40, 1);
    std::uint32_t seed = 17u + static_cast<std::uint32_t>(row);
    for (double x = 1440; x < 2300; x += 34) {  // lettering: strokes of letter size
      seed = seed * 1103515245u + 12345u;
      const double h = 24 + (seed >> 16) % 8;
      c.Line(x, y, x + 10 + (seed >> 8) % 12, y + h, 1.5);
      c.Line(x, y + h, x + 20, y + h - (seed >> 20) % 20, 1.5);
    }
  }
  c.Rectangle(300, 400, 2180, 1900, 3);
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 3; ++j)
      c.Circle(550 + 460.0 * i, 650 + 500.0 * j, 90 + 15.0 * j, 2.5);
  }
  c.Circle(1240, 1150, 330, 4);
  c.Disc(1240, 1150, 70);
  for (double x = 300; x < 2180; x += 40)
    c.Line(x, 1150, std::min(x + 24, 2180.0), 1150, 1);
  c.Rectangle(300, 2100, 1500, 2800, 3);
  for (double d = -700; d < 1200; d += 22) {  // 45° hatching, clipped to the section
    const double xa = std::max(300.0, 300 + d), xb = std::min(1500.0, 1000 + d);
    if (xa < xb)
      c.Line(xa, 2100 + (xa - 300 - d), xb, 2100 + (xb - 300 - d), 1.2);
  }
  c.Line(300, 2950, 1500, 2950, 1.5);
  c.Line(300, 2920, 300, 2980, 1.5);
  c.Line(1500, 2920, 1500, 2980, 1.5);
  c.Line(300, 2950, 340, 2935, 1.5);
  c.Line(300, 2950, 340, 2965, 1.5);
  c.Line(1500, 2950, 1460, 2935, 1.5);
  c.Line(1500, 2950, 1460, 2965, 1.5);
  return c.Release();
}

enum class Picture { a4, black2000 };

CQOV_V2Doc& Document(Picture picture) {
  static std::unique_ptr<CQOV_V2Doc> docs[2];
  auto& doc = docs[picture == Picture::a4 ? 0 : 1];
  if (!doc) {
    doc = std::make_unique<CQOV_V2Doc>();
    doc->ReplaceDib(picture == Picture::a4 ? MakeA4Drawing() : Canvas(2000, 2000, 0).Release());
    doc->UpdateImageSize();
  }
  return *doc;
}

// The export frame without its dialog; returns the size of the file.
std::uintmax_t WriteExport(CQOV_V2Doc& doc, DxfScan scan, const std::string& path,
                           std::size_t bufferSize) {
  CFile file(path, CFile::modeCreate | CFile::modeWrite);
  CDxfWriter writer(file, bufferSize);
  writer.WriteHeader();
  doc.UpdateImageSize();
  scan(doc, writer, doc.m_nWidth, doc.m_nHeight);
  writer.WriteTrailer();
  writer.Close();
  file.Close();
  return std::filesystem::file_size(path);
}

// bytes_per_second is per second of the process's own time (the shared
// machine's other work left out); MB/s(wall) is per second of elapsed time.
void BM_Export(benchmark::State& state, DxfScan scan, Picture picture) {
  CQOV_V2Doc& doc = Document(picture);
  const std::string path = (std::filesystem::temp_directory_path() / "qov-bench-export.dxf");
  const auto bufferSize = static_cast<std::size_t>(state.range(0));
  std::uintmax_t bytes = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state)
    bytes += WriteExport(doc, scan, path, bufferSize);
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
  std::filesystem::remove(path);
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.counters["MB/s(wall)"] = static_cast<double>(bytes) / 1e6 / wall.count();
}

// The coordinates, in pixel units, of the numbers that dots to crosses
// writes for the picture.
std::vector<double> CrossCoordinates(CQOV_V2Doc& doc) {
  std::vector<double> p;
  const std::int64_t W = doc.m_nWidth, H = doc.m_nHeight;
  for (std::int64_t y = 1; y <= H - 1; ++y) {
    for (std::int64_t x = 1; x <= W - 1; ++x) {
      doc.LoadPixel(x, y);
      if (doc.m_curColor[0] >= 100)
        continue;
      const auto fx = static_cast<double>(x), fy = static_cast<double>(H - y);
      for (double v : {fx, fy + 1, fx + 1, fy, fx + 1, fy + 1, fx, fy})
        p.push_back(v);
    }
  }
  return p;
}

// Formats the numbers of a crosses export with `digits` digits (a quarter
// pixel off for the ten-digit strokes of lone dots).
void BM_FormatDxfNumber(benchmark::State& state, Picture picture, int digits) {
  std::vector<double> values = CrossCoordinates(Document(picture));
  for (double& v : values) {
    v = (digits == kDigitsStroke ? v + 0.25 : v) * static_cast<double>(kDxfScale);
  }
  DxfNumberBuffer buf;
  std::size_t chars = 0;
  for (auto _ : state) {
    for (double v : values)
      chars += FormatDxfNumber(v, digits, buf);
    benchmark::DoNotOptimize(chars);
    benchmark::ClobberMemory();
  }
  const auto numbers = static_cast<double>(values.size());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(values.size()));
  // Seconds per number, shown with an SI prefix ("14.2n" is 14.2 ns).
  state.counters["time/number"] = benchmark::Counter(
      numbers, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

constexpr std::int64_t kBufferSizes[] = {static_cast<std::int64_t>(CArchive::kDefaultBufferSize),
                                         4096, static_cast<std::int64_t>(kDxfBufferSize)};

void BufferSizes(benchmark::internal::Benchmark* b) {
  for (std::int64_t size : kBufferSizes)
    b->Arg(size);
  b->ArgName("buffer")->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_Export, crosses_a4, WriteDotsToCrosses, Picture::a4)->Apply(BufferSizes);
BENCHMARK_CAPTURE(BM_Export, crosses_black2000, WriteDotsToCrosses, Picture::black2000)
    ->Apply(BufferSizes);
BENCHMARK_CAPTURE(BM_Export, lines_a4, WriteDotsToLines, Picture::a4)->Apply(BufferSizes);
BENCHMARK_CAPTURE(BM_Export, lines_black2000, WriteDotsToLines, Picture::black2000)
    ->Apply(BufferSizes);
BENCHMARK_CAPTURE(BM_Export, trace_scan_a4, WriteAutoTrace, Picture::a4)
    ->Arg(static_cast<std::int64_t>(kDxfBufferSize))
    ->ArgName("buffer")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FormatDxfNumber, crosses_a4, Picture::a4, kDigitsJoin);
BENCHMARK_CAPTURE(BM_FormatDxfNumber, crosses_black2000, Picture::black2000, kDigitsJoin);
BENCHMARK_CAPTURE(BM_FormatDxfNumber, runs_a4, Picture::a4, kDigitsRun);
BENCHMARK_CAPTURE(BM_FormatDxfNumber, strokes_a4, Picture::a4, kDigitsStroke);

int WriteA4(const char* path) {
  const CGlobalOwner picture = MakeA4Drawing();
  try {
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    const bool written = WriteDibFile(picture.get(), file);
    file.Close();
    return written ? 0 : 1;
  } catch (const CFileException& e) {
    std::fprintf(stderr, "bench_export: %s\n", e.what());
    return 1;
  }
}

}  // namespace
}  // namespace qov

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--write-a4") == 0)
    return qov::WriteA4(argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
