#include "raster/Dither.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "image/DibRows.h"
#include "platform/Progress.h"
#include "raster/Brightness.h"

namespace qov {
namespace {

// A pattern for the levels up to `maxLevel`: one letter per pixel in the
// order the block is read and painted (top row left to right, then the next
// rows). K black, G dark grey, W white.
struct DitherPattern {
  int maxLevel;
  std::string_view cells;
};

// There are no levels with 5 or 7 black pixels: the band 255 to 424 is twice
// as wide as its neighbours.
constexpr std::array<DitherPattern, 8> kDither1Patterns{{
    {85,
     "KKK"
     "KKK"
     "KKK"},
    {169,
     "KKK"
     "KKK"
     "KKW"},
    {254,
     "KKK"
     "KKW"
     "KWW"},
    {424,
     "KWK"
     "WKW"
     "KWW"},
    {509,
     "KKW"
     "KWW"
     "WWW"},
    {594,
     "WKW"
     "KWW"
     "WWW"},
    {679,
     "KWW"
     "WWW"
     "WWW"},
    {765,
     "WWW"
     "WWW"
     "WWW"},
}};

constexpr std::array<DitherPattern, 8> kDither2Patterns{{
    {60,
     "KK"
     "KK"},
    {191,
     "KK"
     "KW"},
    {251,
     "GG"
     "GW"},
    {382,
     "WK"
     "KW"},
    {442,
     "WG"
     "GW"},
    {573,
     "KW"
     "WW"},
    {633,
     "GW"
     "WW"},
    {765,
     "WW"
     "WW"},
}};

const Color3& PatternColor(const CQOV_V2Doc& doc, char cell) {
  switch (cell) {
    case 'K':
      return doc.m_blackColor;
    case 'G':
      return doc.m_darkGrayColor;
    default:
      return doc.m_whiteColor;
  }
}

constexpr std::size_t kPatterns = kDither1Patterns.size();
static_assert(kDither2Patterns.size() == kPatterns);

// A pixel adds at most 765 to its block's sum: 0.8 × 255 and 1.2 × 255 round
// to 204 and 306, and the red byte is at most 255.
constexpr int kMaxBrightness = 765;

std::size_t PatternForLevel(std::span<const DitherPattern, kPatterns> patterns, int level) {
  for (std::size_t k = 0; k < kPatterns; ++k) {
    if (level <= patterns[k].maxLevel)
      return k;
  }
  return kPatterns - 1;
}

// Each pattern as the bytes of its block's rows in the document's colours,
// and the pattern of every block sum (its level is sum / cells).
template <std::int64_t kSize>
class CPatternRows {
 public:
  static constexpr auto kCells = static_cast<std::size_t>(kSize);
  static constexpr std::size_t kRowBytes = 3 * kCells;
  // A block's row is written as one store of this many bytes; what goes
  // past the block the next block's store writes over.
  static constexpr std::size_t kStoreBytes = kRowBytes <= 8 ? 8 : 16;
  static_assert(kStoreBytes >= kRowBytes && kStoreBytes <= 2 * kRowBytes);

  CPatternRows(const CQOV_V2Doc& doc, std::span<const DitherPattern, kPatterns> patterns) {
    for (std::size_t k = 0; k < kPatterns; ++k) {
      for (std::size_t cell = 0; cell < kCells * kCells; ++cell) {
        const Color3& color = PatternColor(doc, patterns[k].cells[cell]);
        std::memcpy(&m_bytes[k][cell / kCells][3 * (cell % kCells)], color.data(), 3);
      }
    }
    for (std::size_t sum = 0; sum < m_patternOfSum.size(); ++sum) {
      const auto level = static_cast<int>(sum / (kCells * kCells));
      m_patternOfSum[sum] = static_cast<std::uint8_t>(PatternForLevel(patterns, level));
    }
  }
  // Paints `blocks` blocks from the starts of `rows` with the patterns of
  // their sums.
  void Paint(const std::array<std::uint8_t*, kCells>& rows, const int* sums,
             std::int64_t blocks) const {
    const auto paint = [&](std::int64_t j, std::size_t bytes) {
      const auto& pattern = m_bytes[m_patternOfSum[static_cast<std::size_t>(sums[j])]];
      for (std::size_t dy = 0; dy < kCells; ++dy)
        std::memcpy(rows[dy] + j * static_cast<std::int64_t>(kRowBytes), pattern[dy].data(), bytes);
    };
    for (std::int64_t j = 0; j < blocks - 1; ++j)
      paint(j, kStoreBytes);
    paint(blocks - 1, kRowBytes);
  }
  // The colour of the last cell of the pattern for `sum`.
  Color3 LastColor(int sum) const {
    Color3 color;
    const std::size_t pattern = m_patternOfSum[static_cast<std::size_t>(sum)];
    std::memcpy(color.data(), &m_bytes[pattern][kCells - 1][kRowBytes - 3], 3);
    return color;
  }

 private:
  std::array<std::array<std::array<std::uint8_t, kStoreBytes>, kCells>, kPatterns> m_bytes{};
  std::array<std::uint8_t, kMaxBrightness * kCells * kCells + 1> m_patternOfSum{};
};

// Blocks are summed side by side, one lane of a vector each: the rounded
// steps of every block stay in its own order while four blocks advance at
// once. GCC's vector extension: the AVX2 build of a QOV_WIDE_ROWS routine
// makes each a few wide instructions, the plain build the same lanes in
// SSE2 pieces. The helpers are forced inline so that each build makes them
// of its own instructions.
using Ints4 = std::int32_t __attribute__((vector_size(16)));
using Doubles4 = double __attribute__((vector_size(32)));
constexpr std::int64_t kLanes = 4;

// Written lane by lane, GCC makes this one conversion instruction; its
// __builtin_convertvector takes three.
[[gnu::always_inline]] inline Doubles4 ToDoubles(Ints4 v) {
  return Doubles4{static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2]),
                  static_cast<double>(v[3])};
}

// Lane k holds the pixel k blocks on from `column`: blue, green and red in
// its low three bytes, the next pixel's blue in the fourth.
static_assert(std::endian::native == std::endian::little,
              "a pixel's bytes are taken apart from a 4-byte load");
template <std::int64_t kSize>
[[gnu::always_inline]] inline Ints4 TakeColumn(const std::uint8_t* column) {
  std::array<std::int32_t, kLanes> lanes;
  for (std::size_t lane = 0; lane < lanes.size(); ++lane)
    std::memcpy(&lanes[lane], column + 3 * kSize * static_cast<std::int64_t>(lane), 4);
  return Ints4{lanes[0], lanes[1], lanes[2], lanes[3]};
}

// Where each of the kSize pixel rows of a run of blocks starts.
template <std::int64_t kSize, class Byte = const std::uint8_t>
using BlockRows = std::array<Byte*, static_cast<std::size_t>(kSize)>;

// A block's steps each wait for the one before, so several vectors of
// blocks go through them together: while one vector's step waits, the
// others' run.
constexpr std::int64_t kVectors = 4;
constexpr std::int64_t kBlocksAtOnce = kVectors * kLanes;
using Vectors = std::array<Ints4, kVectors>;

// Every pixel is read as 4 bytes, so kBlocksAtOnce blocks read one byte
// past their last.
template <std::int64_t kSize>
constexpr std::int64_t kBlocksReadBytes = kBlocksAtOnce * 3 * kSize + 1;

// The sums of kBlocksAtOnce blocks side by side, each through its rows top
// to bottom, each left to right.
template <std::int64_t kSize>
[[gnu::always_inline]] inline void SumBlocks(const BlockRows<kSize>& rows, std::int64_t count,
                                             int* sums) {
  Vectors blockSums{};
  for (const std::uint8_t* row : rows) {
#pragma GCC unroll 3
    for (std::int64_t dx = 0; dx < kSize; ++dx) {
#pragma GCC unroll 4
      for (std::size_t v = 0; v < blockSums.size(); ++v) {
        const auto offset = 3 * (static_cast<std::int64_t>(v) * kLanes * kSize + dx);
        const Ints4 pixels = TakeColumn<kSize>(row + offset);
        const Doubles4 sum =
            AddBrightness(ToDoubles(blockSums[v]), ToDoubles(pixels & 0xFF),
                          ToDoubles((pixels >> 8) & 0xFF), ToDoubles((pixels >> 16) & 0xFF));
        blockSums[v] = __builtin_convertvector(sum, Ints4);
      }
    }
  }
  std::memcpy(sums, blockSums.data(), static_cast<std::size_t>(count) * sizeof(int));
}

// A row of blocks starts each of its pixel rows as a new stream of reads,
// going down through memory, that the processor's own prefetching is slow
// to follow: the part of the next row of blocks under the blocks at hand is
// asked for while they are summed.
template <std::int64_t kSize>
[[gnu::always_inline]] inline void PrefetchBlocks(const BlockRows<kSize>& next, std::int64_t from) {
  constexpr std::int64_t kCacheLine = 64;
  for (const std::uint8_t* row : next) {
    for (std::int64_t b = 0; b < kBlocksAtOnce * 3 * kSize; b += kCacheLine)
      __builtin_prefetch(row + from + b);
  }
}

// The sums of a row of blocks whose pixel rows start at `rows` and hold
// `rowBytes` bytes each; `next` are the rows of the row of blocks after it.
// kBlocksAtOnce blocks at a time while the reads stay in the rows; the
// last blocks from a copy long enough for them.
template <std::int64_t kSize>
[[gnu::always_inline]] inline void SumBlockRow(const BlockRows<kSize>& rows,
                                               const BlockRows<kSize>& next, std::int64_t rowBytes,
                                               std::int64_t blocks, int* sums) {
  constexpr std::int64_t kBlockBytes = 3 * kSize;
  constexpr std::int64_t kReadBytes = kBlocksReadBytes<kSize>;
  static_assert(kReadBytes >= kBlocksAtOnce * kBlockBytes);
  std::int64_t j = 0;
  for (; j + kBlocksAtOnce <= blocks && j * kBlockBytes + kReadBytes <= rowBytes;
       j += kBlocksAtOnce) {
    PrefetchBlocks<kSize>(next, j * kBlockBytes);
    BlockRows<kSize> from;
    for (std::size_t dy = 0; dy < from.size(); ++dy)
      from[dy] = rows[dy] + j * kBlockBytes;
    SumBlocks<kSize>(from, kBlocksAtOnce, sums + j);
  }
  for (; j < blocks; j += kBlocksAtOnce) {
    const std::int64_t count = std::min(kBlocksAtOnce, blocks - j);
    std::array<std::array<std::uint8_t, static_cast<std::size_t>(kReadBytes)>,
               static_cast<std::size_t>(kSize)>
        copy{};
    BlockRows<kSize> from;
    for (std::size_t dy = 0; dy < from.size(); ++dy) {
      std::memcpy(copy[dy].data(), rows[dy] + j * kBlockBytes,
                  static_cast<std::size_t>(count * kBlockBytes));
      from[dy] = copy[dy].data();
    }
    SumBlocks<kSize>(from, count, sums + j);
  }
}

// The row routine built twice (QOV_WIDE_ROWS) for each block size: not
// every compiler builds a template twice.
QOV_WIDE_ROWS void SumBlockRow3(const BlockRows<3>& rows, const BlockRows<3>& next,
                                std::int64_t rowBytes, std::int64_t blocks, int* sums) {
  SumBlockRow<3>(rows, next, rowBytes, blocks, sums);
}

QOV_WIDE_ROWS void SumBlockRow2(const BlockRows<2>& rows, const BlockRows<2>& next,
                                std::int64_t rowBytes, std::int64_t blocks, int* sums) {
  SumBlockRow<2>(rows, next, rowBytes, blocks, sums);
}

template <std::int64_t kSize>
using SumBlockRowRoutine = void (*)(const BlockRows<kSize>&, const BlockRows<kSize>&, std::int64_t,
                                    std::int64_t, int*);

// The rows of the row of blocks from `top` down, from block column 1.
template <std::int64_t kSize, class Byte = const std::uint8_t>
BlockRows<kSize, Byte> BlockRowsAt(const CDibRows& rows, std::int64_t top) {
  BlockRows<kSize, Byte> blockRows;
  for (std::size_t dy = 0; dy < blockRows.size(); ++dy)
    blockRows[dy] = rows.At(kSize, top + static_cast<std::int64_t>(dy));
  return blockRows;
}

// Blocks do not overlap and each is read whole before it is written, so a
// whole row of blocks is read before any of it is painted. Block row 0
// would start at row 0, which the pixel operations cannot address; block
// column 0 is left out alike. m_curColor ends as the last colour painted,
// the last block's last cell.
template <std::int64_t kSize>
void DitherPass(CQOV_V2Doc& doc, std::span<const DitherPattern, kPatterns> patterns,
                SumBlockRowRoutine<kSize> sumBlockRow) {
  const CDibRows rows(doc);
  const std::int64_t height = rows.Height();
  const std::int64_t blocks = rows.Width() / kSize - 1;
  if (height / kSize < 2 || blocks < 1)
    return;
  const CPatternRows<kSize> patternRows(doc, patterns);
  const std::int64_t rowBytes = 3 * (rows.Width() - kSize);
  std::vector<int> sums(static_cast<std::size_t>(blocks));
  CProgressWalk walk(height);
  for (std::int64_t top = kSize; top + kSize <= height; top += kSize) {
    walk.Step(top);
    const bool last = top + 2 * kSize > height;
    sumBlockRow(BlockRowsAt<kSize>(rows, top), BlockRowsAt<kSize>(rows, last ? top : top + kSize),
                rowBytes, blocks, sums.data());
    patternRows.Paint(BlockRowsAt<kSize, std::uint8_t>(rows, top), sums.data(), blocks);
  }
  doc.m_curColor = patternRows.LastColor(sums.back());
}

}  // namespace

void Dither1Pass(CQOV_V2Doc& doc) {
  DitherPass<3>(doc, kDither1Patterns, SumBlockRow3);
}

void Dither2Pass(CQOV_V2Doc& doc) {
  DitherPass<2>(doc, kDither2Patterns, SumBlockRow2);
}

}  // namespace qov
