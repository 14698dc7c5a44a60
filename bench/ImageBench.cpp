// Reading and writing .bmp files and the per-pixel operations, on an A4
// page scanned at 300 dpi (2480 × 3508). Each reader case has a baseline
// that only moves the same bytes.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "image/DibFile.h"
#include "image/QOV_V2Doc.h"
#include "platform/File.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::int32_t kWidth = 2480;
constexpr std::int32_t kHeight = 3508;
constexpr std::int64_t kPixels = std::int64_t{kWidth} * kHeight;
constexpr std::uint32_t kRunLength8 = 1;

void Put(Bytes& b, std::size_t at, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// File header, 40-byte information header and a grey-ramp colour table.
Bytes Headers(std::uint16_t bits, std::uint32_t compression) {
  const std::uint32_t colours = bits <= 8 ? 1u << bits : 0;
  Bytes b(54 + 4 * colours, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put(b, 10, static_cast<std::uint32_t>(b.size()), 4);
  Put(b, 14, 40, 4);
  Put(b, 18, kWidth, 4);
  Put(b, 22, kHeight, 4);
  Put(b, 26, 1, 2);
  Put(b, 28, bits, 2);
  Put(b, 30, compression, 4);
  for (std::uint32_t i = 0; i < colours; ++i) {
    const auto grey = static_cast<std::uint8_t>(i * 255 / (colours - 1));
    b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = grey;
  }
  return b;
}

// Uncompressed pixels of random bytes (content does not change the work).
Bytes Uncompressed(std::uint16_t bits) {
  Bytes b = Headers(bits, 0);
  const std::size_t stride = (std::size_t{bits} * kWidth + 31) / 32 * 4;
  std::mt19937 random(1);
  const std::size_t start = b.size();
  b.resize(start + stride * kHeight);
  for (std::size_t i = start; i < b.size(); ++i)
    b[i] = static_cast<std::uint8_t>(random());
  return b;
}

// A scanned drawing in RLE8: runs of 1 to 40 pixels of one grey level each,
// a row ending with end of line.
Bytes RunLength8() {
  Bytes b = Headers(8, kRunLength8);
  std::mt19937 random(2);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth;) {
      const int run = std::min<int>(static_cast<int>(random() % 40) + 1, kWidth - x);
      b.push_back(static_cast<std::uint8_t>(run));
      b.push_back(static_cast<std::uint8_t>(random()));
      x += run;
    }
    b.insert(b.end(), {0, 0});
  }
  b.insert(b.end(), {0, 1});
  return b;
}

class Files {
 public:
  Files() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qov-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
      std::abort();
    m_dir = pattern;
    for (int bits : {1, 4, 8, 24}) {
      Write(Name(bits, false), Uncompressed(static_cast<std::uint16_t>(bits)));
    }
    Write(Name(8, true), RunLength8());
  }
  ~Files() { std::filesystem::remove_all(m_dir); }

  std::string Name(int bits, bool rle) const {
    return (m_dir / ("a4-" + std::to_string(bits) + (rle ? "-rle" : "") + ".bmp")).string();
  }
  std::string Output() const { return (m_dir / "out.bmp").string(); }

 private:
  void Write(const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  }
  std::filesystem::path m_dir;
};

const Files& TestFiles() {
  static const Files files;
  return files;
}

void ReadDib(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    qov::CFile file(path, qov::CFile::modeRead);
    const qov::CGlobalOwner block = qov::ReadDibFile(file).block;
    if (!block)
      state.SkipWithError("not read");
    benchmark::DoNotOptimize(block.get());
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void BM_ReadDibFile(benchmark::State& state) {
  ReadDib(state, TestFiles().Name(static_cast<int>(state.range(0)), false));
}
BENCHMARK(BM_ReadDibFile)
    ->ArgName("bits")
    ->Arg(1)
    ->Arg(4)
    ->Arg(8)
    ->Arg(24)
    ->Unit(benchmark::kMillisecond);

void BM_ReadDibFileRle8(benchmark::State& state) {
  ReadDib(state, TestFiles().Name(8, true));
}
BENCHMARK(BM_ReadDibFileRle8)->Unit(benchmark::kMillisecond);

// The baseline: the same file's bytes read into fresh memory.
void BM_ReadBytes(benchmark::State& state) {
  const std::string path = TestFiles().Name(24, false);
  const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
  for (auto _ : state) {
    qov::CFile file(path, qov::CFile::modeRead);
    std::unique_ptr<char[]> buffer(new char[size]);
    benchmark::DoNotOptimize(file.Read(buffer.get(), size));
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}
BENCHMARK(BM_ReadBytes)->Unit(benchmark::kMillisecond);

qov::CGlobalOwner ReadA4() {
  qov::CFile file(TestFiles().Name(24, false), qov::CFile::modeRead);
  return qov::ReadDibFile(file).block;
}

// Every pixel loaded and stored back, one lock and unlock per operation.
void BM_LoadStorePixel(benchmark::State& state) {
  qov::CQOV_V2Doc doc;
  doc.ReplaceDib(ReadA4());
  doc.UpdateImageSize();
  for (auto _ : state) {
    for (std::int64_t y = 1; y < doc.m_nHeight; ++y) {
      for (std::int64_t x = 0; x < doc.m_nWidth; ++x) {
        doc.LoadPixel(x, y);
        doc.StorePixel(x, y);
      }
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 2 * std::int64_t{kWidth} * (kHeight - 1));
}
BENCHMARK(BM_LoadStorePixel)->Unit(benchmark::kMillisecond);

void BM_WriteDibFile(benchmark::State& state) {
  const qov::CGlobalOwner block(ReadA4());
  for (auto _ : state) {
    qov::CFile file(TestFiles().Output(), qov::CFile::modeCreate | qov::CFile::modeWrite);
    benchmark::DoNotOptimize(qov::WriteDibFile(block.get(), file));
    file.Close();
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(qov::GlobalSize(block.get()) + 14));
}
BENCHMARK(BM_WriteDibFile)->Unit(benchmark::kMillisecond);

// The baseline: the same number of bytes written to the same file.
void BM_WriteBytes(benchmark::State& state) {
  const qov::CGlobalOwner block(ReadA4());
  const std::size_t size = qov::GlobalSize(block.get()) + 14;
  const Bytes bytes(size, 0x5A);
  for (auto _ : state) {
    qov::CFile file(TestFiles().Output(), qov::CFile::modeCreate | qov::CFile::modeWrite);
    file.Write(bytes.data(), bytes.size());
    file.Close();
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}
BENCHMARK(BM_WriteBytes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
