#pragma once
// Test pictures: bitmaps built byte by byte in any layout (a packed bitmap,
// a .bmp file, a global block), and pictures read back from a block of the
// document's layout. Every test builds and reads its bitmaps here.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/GlobalMemory.h"

namespace qov::test {

using Bytes = std::vector<std::uint8_t>;
// Blue, green, red: a pixel's bytes in the order they are stored.
using Bgr = std::array<std::uint8_t, 3>;

inline constexpr Bgr kBlack{0, 0, 0};
inline constexpr Bgr kWhite{255, 255, 255};
inline constexpr Bgr kRed{0, 0, 255};
inline constexpr Bgr kGreen{0, 255, 0};
inline constexpr Bgr kBlue{255, 0, 0};
inline constexpr Bgr kDarkGray{80, 80, 80};
inline constexpr Bgr kLightGray{230, 230, 230};

// A picture, rows from the top.
struct Picture {
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::vector<Bgr> pixels;

  const Bgr& At(std::int64_t x, std::int64_t y) const {
    return pixels[static_cast<std::size_t>(y * width + x)];
  }
  Bgr& At(std::int64_t x, std::int64_t y) {
    return pixels[static_cast<std::size_t>(y * width + x)];
  }
  friend bool operator==(const Picture&, const Picture&) = default;
};

// A picture given row by row from the top.
Picture MakePicture(const std::vector<std::vector<Bgr>>& rows);
// A picture of `pixel(x, y)`, y counted from 0 at the top.
Picture MakePicture(std::int64_t width, std::int64_t height,
                    const std::function<Bgr(std::int64_t x, std::int64_t y)>& pixel);

// The picture in a block of the document's layout. Fails the test (and
// returns an empty picture) when the block is not exactly that layout:
// 40-byte header, 24 bits, no colour table, stride × height + 40 bytes.
Picture PictureOfBlock(HGLOBAL h);

// Equal size and pixels; otherwise says where they first differ.
::testing::AssertionResult SamePicture(const Picture& actual, const Picture& expected);
// Every channel of every pixel within `tolerance` of the other's.
::testing::AssertionResult NearPicture(const Picture& actual, const Picture& expected,
                                       int tolerance);

// What a bitmap holds, written byte by byte by MakeDib.
struct DibFields {
  std::uint32_t headerSize = 40;
  std::int32_t width = 1;
  std::int32_t height = 1;  // negative: rows stored from the top
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::uint32_t clrUsed = 0;
  std::vector<Bgr> colorTable{};  // 3-byte entries after a 12-byte header, 4-byte otherwise
  std::vector<std::uint32_t>
      masks{};     // red, green, blue (alpha): after a 40-byte header, else inside
  Bytes pixels{};  // as stored
};

// A packed bitmap (the clipboard's layout): header, masks, colour table, pixels.
Bytes MakeDib(const DibFields& fields);
// A .bmp file: the 14-byte file header, then MakeDib.
Bytes MakeBmpFile(const DibFields& fields);

// Stored rows of `bitCount`-bit values (colour indices, 16- or 32-bit
// words, or 24-bit blue-green-red as 0xRRGGBB), given from the top, each
// padded to 4 bytes; bottom row first unless `topDown`.
Bytes PackRows(unsigned bitCount, const std::vector<std::vector<std::uint32_t>>& rowsFromTop,
               bool topDown = false);

// `picture` as a 24-bit bitmap with a 40-byte header: the document's layout.
DibFields Fields24(const Picture& picture);

// A new global block holding `bytes`.
CGlobalOwner BlockOf(const Bytes& bytes);
// A new block of the document's layout holding `picture`.
CGlobalOwner BlockOf(const Picture& picture);

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
// `picture` as a 24-bit .bmp file at `path`.
void WriteBmp(const std::string& path, const Picture& picture);

}  // namespace qov::test
