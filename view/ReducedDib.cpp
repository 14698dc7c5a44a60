// A reduced copy of part of a picture, darkest colours kept.

#include "view/ReducedDib.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

#include "image/DibBlock.h"
#include "image/DibRows.h"

namespace qov {
namespace {

// Below this a thread costs more than it saves.
constexpr std::int64_t kPixelsWorthASecondCore = std::int64_t{1} << 22;

void Put(std::byte* p, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    p[i] = static_cast<std::byte>(v >> (8 * i) & 0xFF);
}

// A 24-bit block of width × height, white, with a 40-byte header.
CGlobalOwner NewWhiteBlock(std::int64_t width, std::int64_t height) {
  const std::uint64_t stride = DibRowStride(24, width);
  CGlobalOwner block = GlobalAllocOwned(
      GMEM_MOVEABLE, kWindowsInfoHeaderSize + stride * static_cast<std::uint64_t>(height));
  if (!block)
    return nullptr;
  const CGlobalLock lock(block.get());
  std::byte* p = lock.get();
  std::fill_n(p, kWindowsInfoHeaderSize, std::byte{0});
  Put(p, kWindowsInfoHeaderSize, 4);
  Put(p + 4, static_cast<std::uint32_t>(width), 4);
  Put(p + 8, static_cast<std::uint32_t>(height), 4);
  Put(p + 12, 1, 2);   // planes
  Put(p + 14, 24, 2);  // bits per pixel
  std::fill_n(p + kWindowsInfoHeaderSize, stride * static_cast<std::uint64_t>(height),
              std::byte{0xFF});
  return block;
}

// Folds a row of `count` pixels into a reduced row: each group of `factor`
// pixels into one, least of each colour.
void FoldRow(const std::uint8_t* src, std::int64_t count, int factor, std::uint8_t* dst) {
  for (std::int64_t x = 0; x < count; x += factor) {
    const std::int64_t end = std::min<std::int64_t>(x + factor, count);
    std::uint8_t b = dst[0], g = dst[1], r = dst[2];
    for (std::int64_t i = x; i < end; ++i) {
      b = std::min(b, src[3 * i]);
      g = std::min(g, src[3 * i + 1]);
      r = std::min(r, src[3 * i + 2]);
    }
    dst[0] = b;
    dst[1] = g;
    dst[2] = r;
    dst += 3;
  }
}

// Byte by byte, the least of `row` and `least` into `least`, in blocks of a
// fixed count that the compiler makes wide.
QOV_WIDE_ROWS void LeastInto(const std::uint8_t* __restrict row, std::size_t bytes,
                             std::uint8_t* __restrict least) {
  constexpr auto kBlock = static_cast<std::size_t>(kWideRowPixels);
  const std::size_t whole = bytes / kBlock * kBlock;
  for (std::size_t b = 0; b < whole; b += kBlock)
    for (std::size_t i = b; i < b + kBlock; ++i)
      least[i] = std::min(least[i], row[i]);
  for (std::size_t i = whole; i < bytes; ++i)
    least[i] = std::min(least[i], row[i]);
}

// The reduced copy of srcRect (top counted from the top) of a locked block.
// The rows of each block are first folded into one, byte by byte, then that
// row across: most of the work is the wide first step.
CGlobalOwner Reduce(const std::byte* info, const CRect& srcRect, int factor) {
  const std::int64_t width = (srcRect.Width() + factor - 1) / factor;
  const std::int64_t height = (srcRect.Height() + factor - 1) / factor;
  CGlobalOwner block = NewWhiteBlock(width, height);
  if (!block)
    return nullptr;
  const CGlobalLock lock(block.get());
  const std::int64_t pictureHeight = DibHeight(info);
  const std::uint64_t srcStride = DibRowStride(24, DibWidth(info));
  const std::uint64_t dstStride = DibRowStride(24, width);
  const auto* srcBits = reinterpret_cast<const std::uint8_t*>(FindDibBits(info));
  auto* dstBits = reinterpret_cast<std::uint8_t*>(FindDibBits(lock.get()));
  const auto rowBytes = static_cast<std::size_t>(3 * srcRect.Width());
  const auto fold = [&](std::int64_t from, std::int64_t to, std::vector<std::uint8_t>& least) {
    for (std::int64_t r = from; r < to; ++r) {
      std::fill(least.begin(), least.end(), std::uint8_t{0xFF});
      const std::int64_t top = srcRect.top + r * factor;
      const std::int64_t bottom = std::min<std::int64_t>(top + factor, srcRect.bottom);
      // Rows are stored bottom-up in both blocks.
      for (std::int64_t y = top; y < bottom; ++y) {
        LeastInto(srcBits + static_cast<std::uint64_t>(pictureHeight - 1 - y) * srcStride +
                      3 * srcRect.left,
                  rowBytes, least.data());
      }
      FoldRow(least.data(), srcRect.Width(), factor,
              dstBits + static_cast<std::uint64_t>(height - 1 - r) * dstStride);
    }
  };
  std::vector<std::uint8_t> least(rowBytes);
  // Reading a whole A0 page (744 MB) is bound by how fast one core can
  // fetch memory: a second core, where there is one, reads the lower half.
  const std::int64_t half = height / 2;
  if (srcRect.Width() * srcRect.Height() >= kPixelsWorthASecondCore &&
      std::thread::hardware_concurrency() > 1) {
    std::vector<std::uint8_t> lowerLeast(rowBytes);
    std::thread lower;
    try {
      lower = std::thread(fold, half, height, std::ref(lowerLeast));
    } catch (const std::system_error&) {
      fold(half, height, lowerLeast);
    }
    fold(0, half, least);
    if (lower.joinable())
      lower.join();
  } else {
    fold(0, height, least);
  }
  return block;
}

}  // namespace

CGlobalOwner ReduceDib(HGLOBAL h, const CRect& srcRect, int factor) {
  if (!h || srcRect.Width() <= 0 || srcRect.Height() <= 0 || factor < 1)
    return nullptr;
  const CGlobalLock dib(h);
  if (!dib)
    return nullptr;
  return Reduce(dib.get(), srcRect, factor);
}

int PaintDibReduced(CDC* dc, const CRect& destRect, HGLOBAL h, const CRect& srcRect, int factor) {
  const CGlobalOwner reduced = ReduceDib(h, srcRect, factor);
  if (!reduced)
    return 0;
  const CRect whole{0, 0, (srcRect.Width() + factor - 1) / factor,
                    (srcRect.Height() + factor - 1) / factor};
  return PaintDib(dc, destRect, reduced.get(), whole);
}

}  // namespace qov
