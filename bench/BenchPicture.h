#pragma once
// Pictures for the benchmarks, made in memory in the document's layout.

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/GlobalMemory.h"

namespace qov::bench {

// A new 24-bit block (40-byte header, rows bottom-up, padded to 4 bytes) of
// width × height whose pixel (x, row), rows counted as stored, holds the
// blue, green and red bytes that pixel(x, row) returns.
template <class Pixel>
CGlobalOwner MakeBlock24(std::int64_t width, std::int64_t height, Pixel pixel) {
  const auto stride = static_cast<std::size_t>((width * 3 + 3) / 4 * 4);
  CGlobalOwner block = GlobalAllocOwned(GHND, 40 + stride * static_cast<std::size_t>(height));
  CGlobalLock lock(block.get());
  std::byte* p = lock.get();
  const auto put = [p](std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i)
      p[at + i] = static_cast<std::byte>(v >> (8 * i));
  };
  put(0, 40);
  put(4, static_cast<std::uint32_t>(width));
  put(8, static_cast<std::uint32_t>(height));
  p[12] = std::byte{1};
  p[14] = std::byte{24};
  for (std::int64_t row = 0; row < height; ++row) {
    std::byte* px = p + 40 + stride * static_cast<std::size_t>(row);
    for (std::int64_t x = 0; x < width; ++x, px += 3) {
      const std::array<std::uint8_t, 3> bgr = pixel(x, row);
      for (std::size_t i = 0; i < 3; ++i)
        px[i] = static_cast<std::byte>(bgr[i]);
    }
  }
  return block;
}

}  // namespace qov::bench
