// ReadDibFile on bitmaps built byte by byte: each conversion rule, the
// decided edge cases and the run-length decoder's rules.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ImageTestSupport.h"
#include "image/DibBlock.h"

namespace qov::test {
namespace {

using E = DibReadError;

DibFields Fields(std::uint16_t bitCount, std::int32_t width, std::int32_t height, Bytes pixels,
                 std::vector<Bgr> table = {}) {
  DibFields s;
  s.width = width;
  s.height = height;
  s.bitCount = bitCount;
  s.clrUsed = static_cast<std::uint32_t>(table.size());
  s.colorTable = std::move(table);
  s.pixels = std::move(pixels);
  return s;
}

DibFields WithHeader(DibFields s, std::uint32_t headerSize) {
  s.headerSize = headerSize;
  return s;
}
DibFields WithCompression(DibFields s, std::uint32_t compression) {
  s.compression = compression;
  return s;
}
// Bit fields (compression 3 unless already set) with `masks`.
DibFields WithMasks(DibFields s, std::uint32_t headerSize, std::vector<std::uint32_t> masks) {
  s.headerSize = headerSize;
  if (s.compression == 0)
    s.compression = 3;
  s.masks = std::move(masks);
  return s;
}
DibFields WithColorsUsed(DibFields s, std::uint32_t used) {
  s.clrUsed = used;
  return s;
}

// Run-length data followed by end of bitmap.
Bytes Rle(Bytes codes) {
  codes.insert(codes.end(), {0, 1});
  return codes;
}

class DibReadConversion : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DibReadConversion, OpensAsTheExpectedPicture) {
  const PictureReadResult r = ReadBmpBytes(GetParam().bytes);
  ASSERT_EQ(r.failure.reason, E::None) << DescribeDibReadError(r.failure.reason);
  EXPECT_TRUE(SamePicture(PictureOfBlock(r.block.get()), GetParam().expected));
  EXPECT_EQ(r.failure.warning, GetParam().warning) << DescribeDibReadError(r.failure.warning);
}

const std::vector<Bgr> kTable4 = {kRed, kGreen, kBlue, kDarkGray};

INSTANTIATE_TEST_SUITE_P(
    Rules, DibReadConversion,
    ::testing::Values(
        DecodeCase{"OneBitMostSignificantFirst",
                       MakeBmpFile(Fields(1, 10, 1, PackRows(1, {{1, 0, 0, 1, 1, 0, 1, 0, 0, 1}}),
                                        {kBlue, kRed})),
                       MakePicture({{kRed, kBlue, kBlue, kRed, kRed, kBlue, kRed, kBlue, kBlue,
                                     kRed}})},
        DecodeCase{"FourBitHighNibbleFirst",
                       MakeBmpFile(Fields(4, 3, 2, PackRows(4, {{0, 1, 2}, {3, 2, 1}}), kTable4)),
                       MakePicture({{kRed, kGreen, kBlue}, {kDarkGray, kBlue, kGreen}})},
        DecodeCase{"EightBitOneIndexPerByte",
                       MakeBmpFile(Fields(8, 2, 2, PackRows(8, {{3, 0}, {1, 2}}), kTable4)),
                       MakePicture({{kDarkGray, kRed}, {kGreen, kBlue}})},
        // Only two entries are read: the pixels follow right after them.
        DecodeCase{"ColoursUsedTwoReadsTwoEntries",
                       MakeBmpFile(WithColorsUsed(
                           Fields(8, 3, 1, PackRows(8, {{1, 0, 1}}), {kGreen, kBlue}), 2)),
                       MakePicture({{kBlue, kGreen, kBlue}})},
        // Indices beyond the table are black.
        DecodeCase{"IndexBeyondTableIsBlack",
                       MakeBmpFile(WithColorsUsed(Fields(8, 3, 1, PackRows(8, {{0, 1, 200}}),
                                                       {kGreen, kBlue}),
                                                  2)),
                       MakePicture({{kGreen, kBlue, kBlack}})},
        DecodeCase{"SixteenBitFiveBitsTimesEight",
                       MakeBmpFile(Fields(16, 4, 1, PackRows(16, {{0x7FFF, 0x8000, 0x001F, 0xFC00}}))),
                       MakePicture({{{248, 248, 248}, kBlack, {248, 0, 0}, {0, 0, 248}}})},
        DecodeCase{"ThirtyTwoBitDropsFourthByte",
                       MakeBmpFile(Fields(32, 2, 1, PackRows(32, {{0xAA112233, 0xFF010203}}))),
                       MakePicture({{{0x33, 0x22, 0x11}, {0x03, 0x02, 0x01}}})},
        DecodeCase{"TwentyFourBitAsStored",
                       MakeBmpFile(Fields(24, 2, 2, PackRows(24, {{0x010203, 0x040506},
                                                                {0x070809, 0x0A0B0C}}))),
                       MakePicture({{{3, 2, 1}, {6, 5, 4}}, {{9, 8, 7}, {12, 11, 10}}})},
        // The compression field does not matter for 24 bits.
        DecodeCase{"TwentyFourBitWithRunLengthFieldReadAsStored",
                       MakeBmpFile(WithCompression(Fields(24, 1, 1, PackRows(24, {{0x0000FF}})), 1)),
                       MakePicture({{kBlue}})},
        DecodeCase{"CoreHeaderThreeByteEntries",
                       MakeBmpFile(WithHeader(Fields(8, 3, 1, PackRows(8, {{2, 1, 0}}),
                                                   [] {
                                                     std::vector<Bgr> table(256, kDarkGray);
                                                     table[1] = kGreen;
                                                     table[2] = kRed;
                                                     return table;
                                                   }()),
                                              12)),
                       MakePicture({{kRed, kGreen, kDarkGray}})},
        DecodeCase{"V4HeaderTwentyFourBit",
                       MakeBmpFile(WithHeader(Fields(24, 1, 2, PackRows(24, {{0xFF0000}, {0x00FF00}})),
                                              108)),
                       MakePicture({{kRed}, {kGreen}})},
        DecodeCase{"V5HeaderTwentyFourBit",
                       MakeBmpFile(WithHeader(Fields(24, 1, 1, PackRows(24, {{0xFF0000}})), 124)),
                       MakePicture({{kRed}})},
        DecodeCase{"Os2HeaderFourByteEntries",
                       MakeBmpFile(WithHeader(Fields(1, 2, 1, PackRows(1, {{0, 1}}), {kRed, kBlue}),
                                              64)),
                       MakePicture({{kRed, kBlue}})},
        DecodeCase{"TopDownOneBitIsStoredBottomUp",
                       MakeBmpFile(Fields(1, 2, -2, PackRows(1, {{0, 1}, {1, 1}}, true),
                                        {kRed, kBlue})),
                       MakePicture({{kRed, kBlue}, {kBlue, kBlue}})},
        DecodeCase{"TopDownTwentyFourBitIsStoredBottomUp",
                       MakeBmpFile(Fields(24, 1, -3,
                                        PackRows(24, {{0xFF0000}, {0x00FF00}, {0x0000FF}}, true))),
                       MakePicture({{kRed}, {kGreen}, {kBlue}})},
        // A gap before the pixels is skipped where the file header says.
        DecodeCase{"PixelOffsetPastTheTableIsFollowed",
                   [] {
                     Bytes f = MakeBmpFile(Fields(24, 1, 2, {9, 9, 9, 9, 1, 2, 3, 0, 4, 5, 6, 0}));
                     f[10] = 58;
                     return f;
                   }(),
                   MakePicture({{{4, 5, 6}}, {{1, 2, 3}}})},
        // An offset outside the file is a writer's mistake: the pixels follow
        // the headers.
        DecodeCase{"PixelOffsetOutsideTheFileIsNotUsed",
                   [] {
                     Bytes f = MakeBmpFile(Fields(24, 1, 2, {9, 9, 9, 9, 1, 2, 3, 0}));
                     f[10] = 62;
                     return f;
                   }(),
                   MakePicture({{{1, 2, 3}}, {{9, 9, 9}}})},
        // Masks after a 40-byte header or inside a larger one; each field
        // becomes 8 bits by repeating its bits (5 bits: 10 is 82, 6 bits: 20
        // is 81), wider ones keep their top 8.
        DecodeCase{"BitFields565",
                   MakeBmpFile(WithMasks(
                       Fields(16, 2, 1, PackRows(16, {{0xF800, 10u << 11 | 20u << 5 | 10u}})), 40,
                       {0xF800, 0x07E0, 0x001F})),
                   MakePicture({{{0, 0, 255}, {82, 81, 82}}})},
        DecodeCase{"BitFields1010102InV5Header",
                   MakeBmpFile(WithMasks(
                       Fields(32, 1, 1, PackRows(32, {{0x3FFu << 20 | 0x201u << 10 | 0x0FFu}})),
                       124, {0x3FF00000, 0x000FFC00, 0x000003FF})),
                   MakePicture({{{0x3F, 0x80, 0xFF}}})},
        DecodeCase{"AlphaBitFields32",
                   MakeBmpFile(WithMasks(
                       WithCompression(Fields(32, 1, 1, PackRows(32, {{0x123456FFu}})), 6), 40,
                       {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF})),
                   MakePicture({{{0x56, 0x34, 0x12}}})},
        // Colours-used declares a table of a 24-bit file; the pixels follow it.
        DecodeCase{"TwentyFourBitPixelsFollowDeclaredTable",
                       MakeBmpFile(WithColorsUsed(
                           Fields(24, 1, 1, PackRows(24, {{0x112233}}), {kDarkGray, kDarkGray}), 2)),
                       MakePicture({{{0x33, 0x22, 0x11}}})}));

class DibReadRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(DibReadRefusal, IsRefusedWithItsReason) {
  const PictureReadResult r = ReadBmpBytes(GetParam().bytes);
  EXPECT_FALSE(r.block);
  EXPECT_EQ(r.failure.reason, GetParam().error) << DescribeDibReadError(r.failure.reason);
}

Bytes Patched32(Bytes b, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i)
    b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  return b;
}

const Bytes kSmall24 = MakeBmpFile(Fields(24, 2, 2, PackRows(24, {{1, 2}, {3, 4}})));

INSTANTIATE_TEST_SUITE_P(
    Rules, DibReadRefusal,
    ::testing::Values(
        RefusalCase{"EmptyFile", {}, E::NotABitmap},
        RefusalCase{"ShortFileHeader", Truncated(kSmall24, 13), E::NotABitmap},
        RefusalCase{"WrongType",
                    [] {
                      Bytes b = kSmall24;
                      b[0] = 'X';
                      return b;
                    }(),
                    E::NotABitmap},
        RefusalCase{"EndsInsideHeaderSize", Truncated(kSmall24, 16), E::TruncatedHeader},
        RefusalCase{"EndsInsideInfoHeader", Truncated(kSmall24, 40), E::TruncatedHeader},
        RefusalCase{"EndsInsideLongHeader",
                    Truncated(MakeBmpFile(WithHeader(Fields(24, 1, 1, {1, 2, 3, 0}), 124)), 100),
                    E::TruncatedHeader},
        RefusalCase{"HeaderSizeBeyondFile", Patched32(kSmall24, 14, 0xFFFFFFF0u),
                    E::TruncatedHeader},
        RefusalCase{"HeaderSizeSixteen", Patched32(kSmall24, 14, 16), E::BadHeader},
        RefusalCase{"HeaderSizeZero", Patched32(kSmall24, 14, 0), E::BadHeader},
        RefusalCase{"WidthZero", MakeBmpFile(Fields(24, 0, 1, {})), E::BadDimensions},
        RefusalCase{"WidthNegative", MakeBmpFile(Fields(24, -4, 1, {})), E::BadDimensions},
        RefusalCase{"HeightZero", MakeBmpFile(Fields(24, 1, 0, {})), E::BadDimensions},
        RefusalCase{"TopDownRunLength",
                    MakeBmpFile(WithCompression(Fields(8, 1, -1, Rle({1, 0}), {kRed}), 1)),
                    E::BadDimensions},
        RefusalCase{"CoreHeaderWidthZero", MakeBmpFile(WithHeader(Fields(24, 0, 1, {}), 12)),
                    E::BadDimensions},
        // 3 × 37838 × 37838 + 54 bytes does not fit in 32 bits.
        RefusalCase{"TooLarge", MakeBmpFile(WithCompression(Fields(8, 37838, 37838, Rle({})), 1)),
                    E::TooLarge},
        // 32 × 2^27 wraps a 32-bit row size to 0.
        RefusalCase{"WideRowsDoNotWrap", MakeBmpFile(Fields(32, 1 << 27, 11, {})), E::TooLarge},
        RefusalCase{"WideRowShortData", MakeBmpFile(Fields(32, 1 << 27, 1, {1, 2, 3, 4})),
                    E::TruncatedPixels},
        // A 1-bit A1 scan at 1000 dpi passes the size limit; its data is checked
        // before any memory is taken for it.
        RefusalCase{"LargeScanWithoutData",
                    MakeBmpFile(Fields(1, 23386, 33110, {0, 0, 0, 0}, {kBlack, kBlue})),
                    E::TruncatedPixels},
        RefusalCase{"TwoBitsPerPixel", MakeBmpFile(Fields(2, 4, 1, {0, 0, 0, 0}, kTable4)),
                    E::UnsupportedBitCount},
        RefusalCase{"ZeroBitsPerPixel", MakeBmpFile(Fields(0, 4, 1, {0, 0, 0, 0})),
                    E::UnsupportedBitCount},
        RefusalCase{"ThirtyBitsPerPixel", MakeBmpFile(Fields(30, 1, 1, {0, 0, 0, 0})),
                    E::UnsupportedBitCount},
        RefusalCase{"BitFieldMasksCut",
                    Truncated(MakeBmpFile(WithMasks(Fields(16, 2, 1, {0, 0, 0, 0}), 40,
                                                    {0xF800, 0x07E0, 0x001F})),
                              54 + 8),
                    E::TruncatedHeader},
        RefusalCase{"AlphaBitFields16",
                    MakeBmpFile(WithMasks(WithCompression(Fields(16, 2, 1, {0, 0, 0, 0}), 6), 40,
                                          {0xF800, 0x07E0, 0x001F, 0})),
                    E::UnsupportedCompression},
        RefusalCase{"Jpeg24", MakeBmpFile(WithCompression(Fields(24, 1, 1, {0, 0, 0, 0}), 4)),
                    E::UnsupportedCompression},
        RefusalCase{"UnknownCompression",
                    MakeBmpFile(WithCompression(Fields(8, 1, 1, {0, 0, 0, 0}, {kRed}), 7)),
                    E::UnsupportedCompression},
        RefusalCase{"ShortRow", Truncated(kSmall24, kSmall24.size() - 1), E::TruncatedPixels},
        RefusalCase{
            "ShortPalettedRow",
            Truncated(MakeBmpFile(Fields(8, 5, 2, PackRows(8, {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}),
                                         kTable4)),
                      54 + 16 + 12),
            E::TruncatedPixels},
        RefusalCase{"TopDownShortRow",
                    Truncated(MakeBmpFile(Fields(24, 2, -2, PackRows(24, {{1, 2}, {3, 4}}, true))),
                              54 + 10),
                    E::TruncatedPixels},
        // A table of 2^32 − 1 entries is skipped, not allocated.
        RefusalCase{"HugeColourTable",
                    MakeBmpFile(WithColorsUsed(Fields(8, 1, 1, {0, 0, 0, 0}, {kRed}), 0xFFFFFFFFu)),
                    E::TruncatedPixels}));

// A picture of `width` × `height` black pixels with `pixels` set (x, y from
// the top).
Picture BlackWith(std::int64_t width, std::int64_t height,
                  std::initializer_list<std::tuple<int, int, Bgr>> pixels) {
  Picture p;
  p.width = width;
  p.height = height;
  p.pixels.assign(static_cast<std::size_t>(width * height), kBlack);
  for (const auto& [x, y, c] : pixels)
    p.At(x, y) = c;
  return p;
}

const std::vector<Bgr> kRamp = {kBlack, kRed, kGreen, kBlue, kDarkGray};

DibFields Rle8(std::int32_t width, std::int32_t height, Bytes codes) {
  return WithCompression(Fields(8, width, height, std::move(codes), kRamp), 1);
}
DibFields Rle4(std::int32_t width, std::int32_t height, Bytes codes) {
  return WithCompression(Fields(4, width, height, std::move(codes), kRamp), 2);
}

INSTANTIATE_TEST_SUITE_P(
    RunLength, DibReadConversion,
    ::testing::Values(
        DecodeCase{"EncodedRunsFromTheBottomRowUp",
                   MakeBmpFile(Rle8(3, 2, Rle({2, 1, 1, 2, 0, 0, 3, 3}))),
                   MakePicture({{kBlue, kBlue, kBlue}, {kRed, kRed, kGreen}})},
        // Runs that exceed the width keep only the first width pixels.
        DecodeCase{"RunsBeyondWidthAreDropped",
                   MakeBmpFile(Rle8(2, 2, Rle({5, 1, 0, 0, 0, 4, 2, 3, 4, 4}))),
                   MakePicture({{kGreen, kBlue}, {kRed, kRed}})},
        DecodeCase{"AbsoluteRunOddCountIsPadded",
                   MakeBmpFile(Rle8(4, 1, Rle({0, 3, 1, 2, 3, 0, 1, 4}))),
                   MakePicture({{kRed, kGreen, kBlue, kDarkGray}})},
        DecodeCase{"DeltaMovesRightAndUp", MakeBmpFile(Rle8(3, 3, Rle({1, 1, 0, 2, 1, 2, 1, 2}))),
                   MakePicture({{kBlack, kBlack, kGreen},
                                {kBlack, kBlack, kBlack},
                                {kRed, kBlack, kBlack}})},
        // A delta past the top row ends decoding; nothing is written outside.
        DecodeCase{"DeltaPastTopEndsDecoding", MakeBmpFile(Rle8(2, 2, {1, 1, 0, 2, 0, 200, 2, 2})),
                   BlackWith(2, 2, {{0, 1, kRed}})},
        // Data that ends inside an absolute run: the pixels that arrived count.
        // Data that ends early leaves the rest black and says so.
        DecodeCase{"EndInsideAbsoluteRun", MakeBmpFile(Rle8(5, 1, {0, 5, 1, 2})),
                   BlackWith(5, 1, {{0, 0, kRed}, {1, 0, kGreen}}), E::TruncatedPixels},
        DecodeCase{"EndOfDataBeforeTheLastRowIsAWarning", MakeBmpFile(Rle8(2, 2, {2, 3})),
                   BlackWith(2, 2, {{0, 1, kBlue}, {1, 1, kBlue}}), E::TruncatedPixels},
        // The last row written to its end is enough without the end codes.
        DecodeCase{"EndOfDataAfterTheLastPixel", MakeBmpFile(Rle8(1, 2, {1, 1, 0, 0, 1, 2})),
                   MakePicture({{kGreen}, {kRed}})},
        DecodeCase{"EndOfBitmapStops", MakeBmpFile(Rle8(2, 1, {1, 1, 0, 1, 1, 2})),
                   BlackWith(2, 1, {{0, 0, kRed}})},
        DecodeCase{"Rle4EncodedRunAlternatesNibbles", MakeBmpFile(Rle4(5, 1, Rle({5, 0x12}))),
                   MakePicture({{kRed, kGreen, kRed, kGreen, kRed}})},
        // Three pixels take two bytes: no padding. Five take three: padded.
        DecodeCase{"Rle4AbsoluteRunsAndPadding",
                   MakeBmpFile(Rle4(8, 1, Rle({0, 3, 0x12, 0x30, 0, 5, 0x43, 0x21, 0x40, 0}))),
                   MakePicture({{kRed, kGreen, kBlue, kDarkGray, kBlue, kGreen, kRed, kDarkGray}})},
        DecodeCase{"Rle4RunBeyondWidthIsDropped", MakeBmpFile(Rle4(2, 1, Rle({7, 0x34}))),
                   MakePicture({{kBlue, kDarkGray}})},
        // The table is only as long as colours-used says; index 1 is black.
        DecodeCase{"RunLengthIndexBeyondTable",
                   MakeBmpFile(WithColorsUsed(
                       WithCompression(Fields(8, 2, 1, Rle({1, 0, 1, 1}), {kDarkGray}), 1), 1)),
                   MakePicture({{kDarkGray, kBlack}})},
        // A table of 2^32 − 1 entries is skipped past the end: nothing is decoded.
        DecodeCase{"RunLengthWithHugeTableIsBlack",
                   MakeBmpFile(WithColorsUsed(Rle8(2, 1, Rle({2, 1})), 0xFFFFFFFFu)),
                   BlackWith(2, 1, {}), E::TruncatedPixels}));

// Codes straddle the 32768-byte chunks of the file at every offset (a
// 41-byte header makes the odd ones): the picture is the same as where they
// do not.
TEST(DibReadRunLength, CodesAcrossChunkBoundaries) {
  constexpr int kWidth = 7;
  for (int step = 0; step < 16; ++step) {
    const int shift = step / 2;
    const std::uint32_t headerSize = 40 + static_cast<std::uint32_t>(step % 2);
    // Rows of: delta (1, 0), an absolute run of 3, a run of 2, end of line.
    Bytes codes;
    int rows = 0;
    const std::size_t header = 14 + headerSize + 4 * kRamp.size();
    for (int i = 0; i < shift; ++i)
      codes.insert(codes.end(), {1, 4});  // grey, first row
    codes.insert(codes.end(), {0, 0});
    ++rows;
    while (header + codes.size() < 32768 + 64) {
      codes.insert(codes.end(), {0, 2, 1, 0, 0, 3, 1, 2, 3, 0, 2, 4, 0, 0});
      ++rows;
    }
    Picture expected = BlackWith(kWidth, rows, {});
    for (int x = 0; x < std::min(shift, kWidth); ++x)
      expected.At(x, rows - 1) = kDarkGray;
    for (int y = 0; y < rows - 1; ++y) {
      const Bgr row[] = {kBlack, kRed, kGreen, kBlue, kDarkGray, kDarkGray, kBlack};
      for (int x = 0; x < kWidth; ++x)
        expected.At(x, y) = row[x];
    }
    const PictureReadResult r =
        ReadBmpBytes(MakeBmpFile(WithHeader(Rle8(kWidth, rows, Rle(codes)), headerSize)));
    ASSERT_EQ(r.failure.reason, E::None);
    EXPECT_TRUE(SamePicture(PictureOfBlock(r.block.get()), expected)) << "step " << step;
  }
}

// Every prefix of a run-length file that holds its whole header opens (the
// colour table and the codes are read as far as they go; what was not
// decoded is black); every prefix of an uncompressed one is refused. Nothing
// is read or written outside a buffer on the way (the asan preset checks).
TEST(DibRead, EveryPrefixOpensOrIsRefused) {
  const Bytes rle = MakeBmpFile(Rle8(4, 3, Rle({0, 3, 1, 2, 3, 0, 2, 4, 0, 0, 0, 2, 1, 1, 4, 1})));
  const Bytes raw = MakeBmpFile(
      Fields(4, 5, 3, PackRows(4, {{1, 2, 3, 4, 0}, {0, 1, 2, 3, 4}, {4, 4, 4, 4, 4}}), kRamp));
  for (std::size_t size = 0; size < rle.size(); ++size) {
    const PictureReadResult r = ReadBmpBytes(Truncated(rle, size));
    EXPECT_EQ(static_cast<bool>(r.block), size >= 14 + 40) << size;
  }
  for (std::size_t size = 0; size < raw.size(); ++size) {
    EXPECT_FALSE(ReadBmpBytes(Truncated(raw, size)).block) << size;
  }
  EXPECT_TRUE(ReadBmpBytes(raw).block);
}

// The block keeps the header's fields as the file has them, in 24 bits.
TEST(DibRead, BlockHeaderFields) {
  DibFields fields = Fields(8, 3, 2, PackRows(8, {{0, 1, 2}, {2, 1, 0}}), kTable4);
  fields.planes = 1;
  fields.imageSize = 8;
  Bytes file = MakeBmpFile(fields);
  file[14 + 24] = 0x13;  // horizontal resolution
  file[14 + 28] = 0x14;  // vertical resolution
  file[14 + 36] = 3;     // colours important
  const PictureReadResult r = ReadBmpBytes(file);
  ASSERT_TRUE(r.block);
  const CGlobalLock lock(r.block.get());
  EXPECT_EQ(DibWidth(lock.get()), 3u);
  EXPECT_EQ(DibHeight(lock.get()), 2u);
  EXPECT_EQ(DibNumColors(lock.get()), 0);
  EXPECT_EQ(FindDibBits(lock.get()), lock.get() + 40);
  const auto byte = [&lock](int at) { return std::to_integer<int>(lock.get()[at]); };
  EXPECT_EQ(byte(12), 1);  // planes
  EXPECT_EQ(byte(20), 8);  // image size as read
  EXPECT_EQ(byte(24), 0x13);
  EXPECT_EQ(byte(28), 0x14);
  EXPECT_EQ(byte(36), 3);
}

}  // namespace
}  // namespace qov::test
