// A reduced copy of part of a picture, darkest colours kept.

#include "view/ReducedDib.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "image/DibBlock.h"

namespace qov {
namespace {

void Put(std::byte* p, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    p[i] = static_cast<std::byte>(v >> (8 * i) & 0xFF);
}

// A 24-bit block of width × height, white, with a 40-byte header.
HGLOBAL NewWhiteBlock(std::int64_t width, std::int64_t height) {
  const std::uint64_t stride = DibRowStride(24, width);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE,
                          kWindowsInfoHeaderSize + stride * static_cast<std::uint64_t>(height));
  if (!h)
    return nullptr;
  const CGlobalLock lock(h);
  std::byte* p = lock.get();
  std::fill_n(p, kWindowsInfoHeaderSize, std::byte{0});
  Put(p, kWindowsInfoHeaderSize, 4);
  Put(p + 4, static_cast<std::uint32_t>(width), 4);
  Put(p + 8, static_cast<std::uint32_t>(height), 4);
  Put(p + 12, 1, 2);   // planes
  Put(p + 14, 24, 2);  // bits per pixel
  std::fill_n(p + kWindowsInfoHeaderSize, stride * static_cast<std::uint64_t>(height),
              std::byte{0xFF});
  return h;
}

// Folds one source row (its pixels from `left`, `count` of them) into a
// reduced row: each group of `factor` pixels into one, least of each colour.
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

// The reduced copy of srcRect (top counted from the top) of a locked block.
HGLOBAL Reduce(const std::byte* info, const CRect& srcRect, int factor) {
  const std::int64_t width = (srcRect.Width() + factor - 1) / factor;
  const std::int64_t height = (srcRect.Height() + factor - 1) / factor;
  HGLOBAL h = NewWhiteBlock(width, height);
  if (!h)
    return nullptr;
  const CGlobalLock lock(h);
  const std::int64_t pictureHeight = DibHeight(info);
  const std::uint64_t srcStride = DibRowStride(24, DibWidth(info));
  const std::uint64_t dstStride = DibRowStride(24, width);
  const auto* srcBits = reinterpret_cast<const std::uint8_t*>(FindDibBits(info));
  auto* dstBits = reinterpret_cast<std::uint8_t*>(FindDibBits(lock.get()));
  for (std::int64_t y = srcRect.top; y < srcRect.bottom; ++y) {
    // Rows are stored bottom-up in both blocks.
    const std::uint8_t* src =
        srcBits + static_cast<std::uint64_t>(pictureHeight - 1 - y) * srcStride + 3 * srcRect.left;
    std::uint8_t* dst =
        dstBits + static_cast<std::uint64_t>(height - 1 - (y - srcRect.top) / factor) * dstStride;
    FoldRow(src, srcRect.Width(), factor, dst);
  }
  return h;
}

}  // namespace

int PaintDibReduced(CDC* dc, const CRect& destRect, HGLOBAL h, const CRect& srcRect, int factor) {
  if (!h || srcRect.Width() <= 0 || srcRect.Height() <= 0 || factor < 1)
    return 0;
  CGlobalOwner reduced;
  {
    const CGlobalLock dib(h);
    if (!dib)
      return 0;
    reduced = CGlobalOwner(Reduce(dib.get(), srcRect, factor));
  }
  if (!reduced)
    return 0;
  const CRect whole{0, 0, (srcRect.Width() + factor - 1) / factor,
                    (srcRect.Height() + factor - 1) / factor};
  return PaintDib(dc, destRect, reduced.get(), whole);
}

}  // namespace qov
