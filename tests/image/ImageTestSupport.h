#pragma once
// Shared helpers of the image tests: building bitmaps byte by byte, reading
// a block back as a picture, temporary folders and files.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "image/DibFile.h"
#include "platform/GlobalMemory.h"
#include "tests/support/TempDir.h"

namespace qov::test {

using Bytes = std::vector<std::uint8_t>;
using Bgr = std::array<std::uint8_t, 3>;

// Colours the table-driven tests draw with.
inline constexpr Bgr kBlack{0, 0, 0};
inline constexpr Bgr kRed{0, 0, 255};
inline constexpr Bgr kGreen{0, 255, 0};
inline constexpr Bgr kBlue{255, 0, 0};
inline constexpr Bgr kGrey{80, 80, 80};

// A picture as blue, green, red per pixel, rows from the top.
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
};

// A picture given row by row from the top.
Picture MakePicture(const std::vector<std::vector<Bgr>>& rows);

// The picture in a block of the document's layout. Fails the test when the
// block is not exactly that layout (40-byte header, 24 bits, no colour
// table, stride × height + 40 bytes).
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
  std::int32_t height = 1;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::uint32_t clrUsed = 0;
  std::vector<Bgr> colorTable;  // 3-byte entries after a 12-byte header, 4-byte otherwise
  std::vector<std::uint32_t>
      masks;     // red, green, blue (alpha): after a 40-byte header, else inside
  Bytes pixels;  // as stored
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

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);

// Named inputs of the table-driven reader and converter tests: the picture
// they decode to, or the reason they are refused.
struct DecodeCase {
  const char* name;
  Bytes bytes;
  Picture expected;
};
struct RefusalCase {
  const char* name;
  Bytes bytes;
  DibReadError error;
};
void PrintTo(const DecodeCase& c, std::ostream* os);
void PrintTo(const RefusalCase& c, std::ostream* os);

// The first `size` bytes of `b`.
Bytes Truncated(Bytes b, std::size_t size);

// ReadDibFile on the file at `path`.
struct ReadResult {
  CGlobalOwner block;
  DibReadError error = DibReadError::None;
};
ReadResult ReadBmp(const std::string& path);
ReadResult ReadBmpBytes(const Bytes& bytes);

// ConvertDibTo24 on `bytes`, held in a buffer of exactly their length.
ReadResult ConvertBytes(const Bytes& bytes);

// The folder of the bitmap test suite.
std::string SuiteFile(const std::string& relative);

}  // namespace qov::test
