#pragma once
// Whole rows of the document's picture under one lock, for the passes that
// visit every pixel: the same pixels that the pixel operations address,
// without a lock and a header read per pixel.

#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "image/QOV_V2Doc.h"

// A loop over 3-byte pixels becomes wide operations only with byte
// shuffles, which the baseline x86-64 instruction set lacks. A row routine
// so marked is built three times, for AVX-512 (64-byte registers), for AVX2
// (32-byte) and plain, and the widest form the processor has is chosen when
// the program loads. All give the same bytes: the operations are the same,
// only more of them at once. The tests build the raster passes once more
// for each form alone (QOV_WIDE_ROWS given on the command line), so that
// every form runs on a processor that has it, not only the one it picks.
#if !defined(QOV_WIDE_ROWS)
#if defined(__x86_64__)
#define QOV_WIDE_ROWS [[gnu::target_clones("arch=x86-64-v4", "avx2", "default")]]
#else
#define QOV_WIDE_ROWS
#endif
#endif

namespace qov {

// Pixels a wide row loop takes at a time: a fixed count lets the compiler
// make the inner loop wide without a check of the remainder.
inline constexpr std::int64_t kWideRowPixels = 64;

// Most of a drawing is paper: a pass looking for dark pixels steps over
// light ones. A pixel whose bytes are all at `level` or above (blue, green
// and red alike, which lets the test run over plain bytes) is not darker
// than that. Tested a block of wide-row size at a time, with a fixed count
// and a least-byte test, the compiler makes it a few wide operations.
template <std::int64_t kBytes>
bool BytesNotBelow(std::uint8_t level, const std::uint8_t* p) {
  std::uint8_t least = 255;
  for (std::int64_t i = 0; i < kBytes; ++i)
    least = least < p[i] ? least : p[i];
  return least >= level;
}

// Where the first of the kBytes bytes from p that is below `level` lies, or
// kBytes. Sixteen bytes are compared at once and the first one found from
// the mask of the results, instead of byte after byte with a branch each.
template <std::int64_t kBytes>
std::int64_t FirstByteBelow(std::uint8_t level, const std::uint8_t* p) {
#if defined(__SSE2__)
  static_assert(kBytes % 16 == 0 && kBytes <= 64);
  if (level == 0)
    return kBytes;
  // A byte is below the level when the least of it and level − 1 is itself.
  const __m128i top = _mm_set1_epi8(static_cast<char>(level - 1));
  std::uint64_t below = 0;
  for (std::int64_t i = 0; i < kBytes; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(bytes, top), bytes));
    below |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(mask)) << i;
  }
  return below != 0 ? std::countr_zero(below) : kBytes;
#else
  for (std::int64_t i = 0; i < kBytes; ++i) {
    if (p[i] < level)
      return i;
  }
  return kBytes;
#endif
}

// How many of the `count` pixels from p on are at `level` or above: where
// the first pixel with a darker byte lies. Whole blocks first; in the block
// that holds a darker byte, that byte is looked for 16 pixels at a time.
template <std::int64_t kBytesPerPixel = 3>
std::int64_t PixelsNotBelow(std::uint8_t level, const std::uint8_t* p, std::int64_t count) {
  constexpr std::int64_t kBlockBytes = kWideRowPixels * kBytesPerPixel;
  constexpr std::int64_t kPart = 16;
  std::int64_t n = 0;
  while (n + kWideRowPixels <= count && BytesNotBelow<kBlockBytes>(level, p + n * kBytesPerPixel))
    n += kWideRowPixels;
  for (; n + kPart <= count; n += kPart) {
    const std::int64_t first =
        FirstByteBelow<kPart * kBytesPerPixel>(level, p + n * kBytesPerPixel);
    if (first < kPart * kBytesPerPixel)
      return n + first / kBytesPerPixel;
  }
  while (n < count && BytesNotBelow<kBytesPerPixel>(level, p + n * kBytesPerPixel))
    ++n;
  return n;
}

class CDibRows {
 public:
  // Locks the picture of `doc` for the object's lifetime. The size is the
  // one the document last read (m_nWidth, m_nHeight) within the block's own;
  // without a picture, or with a block too short for the rows its header
  // declares, it is 0 × 0.
  explicit CDibRows(CQOV_V2Doc& doc);
  // The rows can be written, so letting them go counts as a change of the
  // document's pixels (GetPixelsVersion): once, when the pass is over, not
  // while it runs. An export that only read them counts too, which costs
  // no more than making the view's reduced picture once again.
  ~CDibRows();

  std::int64_t Width() const { return m_width; }
  std::int64_t Height() const { return m_height; }

  // The range of the pixel operations: 0 ≤ x ≤ Width() − 1,
  // 1 ≤ y ≤ Height() − 1 (the bottom stored row is never addressed).
  bool Contains(std::int64_t x, std::int64_t y) const {
    return x >= 0 && x < m_width && y >= 1 && y < m_height;
  }
  // Blue, green, red of Width() pixels from column 0 of row y, for
  // 1 ≤ y ≤ Height() − 1; unchecked.
  std::uint8_t* Row(std::int64_t y) const {
    return m_bits + m_stride * static_cast<std::size_t>(m_blockHeight - y);
  }
  // The pixel (x, y) inside Contains(); unchecked.
  std::uint8_t* At(std::int64_t x, std::int64_t y) const {
    return Row(y) + 3 * static_cast<std::size_t>(x);
  }
  // Document rows go up the stored rows: the row below y is one stride back.
  std::ptrdiff_t Stride() const { return static_cast<std::ptrdiff_t>(m_stride); }

 private:
  CQOV_V2Doc& m_doc;
  CGlobalLock m_lock;
  std::uint8_t* m_bits = nullptr;
  std::size_t m_stride = 0;
  std::int64_t m_blockHeight = 0;
  std::int64_t m_width = 0;
  std::int64_t m_height = 0;
};

}  // namespace qov
