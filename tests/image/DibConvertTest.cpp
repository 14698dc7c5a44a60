// ConvertDibTo24, the converter of whatever bitmap the clipboard holds: every
// header kind and pixel layout another program may paste, and garbage.

#include <gtest/gtest.h>

#include <random>

#include "ImageTestSupport.h"

namespace qov::test {
namespace {

using E = DibReadError;

const std::vector<Bgr> kTable = {kRed, kGreen, kBlue, kDarkGray};

struct Layout {
  std::uint32_t headerSize = 40;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> masks = {};
  std::vector<Bgr> table = {};
  bool colorsUsed = true;  // colours-used = table size (not for the core header)
};

DibFields FieldsOf(const Layout& l, std::int32_t width, std::int32_t height, Bytes pixels) {
  DibFields s;
  s.headerSize = l.headerSize;
  s.width = width;
  s.height = height;
  s.bitCount = l.bitCount;
  s.compression = l.compression;
  s.masks = l.masks;
  s.colorTable = l.table;
  if (l.colorsUsed)
    s.clrUsed = static_cast<std::uint32_t>(l.table.size());
  s.pixels = std::move(pixels);
  return s;
}

class ConvertDibLayouts : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(ConvertDibLayouts, ConvertsToTheExpectedPicture) {
  const PictureReadResult r = ConvertBytes(GetParam().bytes);
  ASSERT_EQ(r.failure.reason, E::None) << DescribeDibReadError(r.failure.reason);
  EXPECT_TRUE(SamePicture(PictureOfBlock(r.block.get()), GetParam().expected));
}

// One 2 × 2 picture in every layout: red, green on top; blue, grey below.
const Picture kSquare = MakePicture({{kRed, kGreen}, {kBlue, kDarkGray}});
const std::vector<std::vector<std::uint32_t>> kIndices = {{0, 1}, {2, 3}};
const std::vector<std::vector<std::uint32_t>> k24 = {{0xFF0000, 0x00FF00}, {0x0000FF, 0x505050}};

DecodeCase Indexed(const char* name, std::uint32_t headerSize, std::uint16_t bits) {
  Layout l{headerSize, bits, 0, {}, kTable, headerSize != 12};
  // Without colours-used the table has all 2^bits entries.
  if (!l.colorsUsed)
    l.table.resize(std::size_t{1} << bits, kBlack);
  if (bits > 1)
    return {name, MakeDib(FieldsOf(l, 2, 2, PackRows(bits, kIndices))), kSquare};
  return {name, MakeDib(FieldsOf(l, 2, 2, PackRows(bits, {{0, 1}, {1, 0}}))),
          MakePicture({{kRed, kGreen}, {kGreen, kRed}})};
}

DecodeCase Rgb24(const char* name, std::uint32_t headerSize, bool topDown = false) {
  Layout l{headerSize, 24};
  return {name, MakeDib(FieldsOf(l, 2, topDown ? -2 : 2, PackRows(24, k24, topDown))), kSquare};
}

// 16-bit 5-6-5 with masks: 5 bits times 8, 6 bits times 4.
DecodeCase Masked565(const char* name, std::uint32_t headerSize) {
  Layout l{headerSize, 16, 3, {0xF800, 0x07E0, 0x001F}};
  const std::uint32_t red = 31u << 11, green = 63u << 5, blue = 31u,
                      grey = 10u << 11 | 20u << 5 | 10u;
  return {name, MakeDib(FieldsOf(l, 2, 2, PackRows(16, {{red, green}, {blue, grey}}))),
          MakePicture({{{0, 0, 248}, {0, 252, 0}}, {{248, 0, 0}, {80, 80, 80}}})};
}

// 32-bit with red in the low byte and blue in the third: the masks decide.
DecodeCase MaskedXbgr(const char* name, std::uint32_t headerSize) {
  Layout l{headerSize, 32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000}};
  return {
      name,
      MakeDib(FieldsOf(l, 2, 2, PackRows(32, {{0xFF0000FF, 0x0000FF00}, {0x00FF0000, 0x505050}}))),
      kSquare};
}

// 10 bits per channel keep their top 8.
DecodeCase Masked1010102(const char* name, std::uint32_t headerSize) {
  Layout l{headerSize, 32, 3, {0x3FF00000, 0x000FFC00, 0x000003FF}};
  const std::uint32_t red = 0x3FFu << 20, green = 0x3FFu << 10, blue = 0x3FFu;
  const std::uint32_t grey = (80u << 2 | 3u) << 20 | (80u << 2) << 10 | (80u << 2 | 1u);
  return {name, MakeDib(FieldsOf(l, 2, 2, PackRows(32, {{red, green}, {blue, grey}}))), kSquare};
}

Bytes Rle(Bytes codes) {
  codes.insert(codes.end(), {0, 1});
  return codes;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ConvertDibLayouts,
    ::testing::Values(
        Indexed("Core1", 12, 1), Indexed("Core4", 12, 4), Indexed("Core8", 12, 8),
        Rgb24("Core24", 12), Indexed("Info1", 40, 1), Indexed("Info4", 40, 4),
        Indexed("Info8", 40, 8),
        DecodeCase{
            "Info8TopDown",
            MakeDib(FieldsOf(Layout{40, 8, 0, {}, kTable}, 2, -2, PackRows(8, kIndices, true))),
            kSquare},
        Indexed("Os2Info8", 64, 8), Indexed("V4Info8", 108, 8), Indexed("V5Info4", 124, 4),
        Rgb24("Info24", 40), Rgb24("Info24TopDown", 40, true), Rgb24("V2Info24", 52),
        Rgb24("V3Info24", 56), Rgb24("Os2Info24", 64), Rgb24("V4Info24", 108),
        Rgb24("V5Info24TopDown", 124, true),
        DecodeCase{"Info16FiveFiveFive",
                   MakeDib(FieldsOf(Layout{40, 16}, 2, 1, PackRows(16, {{0x7FFF, 0x8000}}))),
                   MakePicture({{{248, 248, 248}, kBlack}})},
        DecodeCase{
            "Info32",
            MakeDib(FieldsOf(Layout{40, 32}, 2, 2,
                             PackRows(32, {{0xFFFF0000, 0x0000FF00}, {0x000000FF, 0x00505050}}))),
            kSquare},
        Masked565("Info16BitFields", 40), Masked565("V2Info16BitFields", 52),
        Masked565("V4Info16BitFields", 108), MaskedXbgr("Info32BitFields", 40),
        MaskedXbgr("V3Info32BitFields", 56), Masked1010102("V5Info32TenBitFields", 124),
        DecodeCase{"Rle8",
                   MakeDib(FieldsOf(Layout{40, 8, 1, {}, kTable}, 2, 2,
                                    Rle({1, 2, 1, 3, 0, 0, 1, 0, 1, 1}))),
                   kSquare},
        // Three pixels given one by one, padded to a word.
        DecodeCase{"Rle8Absolute",
                   MakeDib(FieldsOf(Layout{40, 8, 1, {}, kTable}, 3, 1, Rle({0, 3, 0, 1, 2, 0}))),
                   MakePicture({{kRed, kGreen, kBlue}})},
        DecodeCase{"Rle4",
                   MakeDib(FieldsOf(Layout{40, 4, 2, {}, kTable}, 2, 2,
                                    Rle({2, 0x23, 0, 0, 0, 3, 0x01, 0x00}))),
                   MakePicture({{kRed, kGreen}, {kBlue, kDarkGray}})},
        // A 24-bit bitmap may carry a table; its pixels follow it.
        DecodeCase{"Info24WithTable",
                   MakeDib(FieldsOf(Layout{40, 24, 0, {}, kTable}, 2, 2, PackRows(24, k24))),
                   kSquare},
        DecodeCase{"Info16BitFieldsWithTable",
                   MakeDib(FieldsOf(Layout{40, 16, 3, {0x7C00, 0x03E0, 0x001F}, {kDarkGray}}, 1, 1,
                                    PackRows(16, {{0x7C00}}))),
                   MakePicture({{{0, 0, 248}}})}));

class ConvertDibRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ConvertDibRefusal, IsRefusedWithItsReason) {
  const PictureReadResult r = ConvertBytes(GetParam().bytes);
  EXPECT_FALSE(r.block);
  EXPECT_EQ(r.failure.reason, GetParam().error) << DescribeDibReadError(r.failure.reason);
}

const Bytes kGood24 = Rgb24("", 40).bytes;
const Bytes k24Row = PackRows(24, {{0x0000FF, 0x00FF00}});

INSTANTIATE_TEST_SUITE_P(
    Garbage, ConvertDibRefusal,
    ::testing::Values(
        RefusalCase{"Empty", {}, E::TruncatedHeader},
        RefusalCase{"ThreeBytes", {40, 0, 0}, E::TruncatedHeader},
        RefusalCase{"UnknownHeaderSize", MakeDib(FieldsOf(Layout{44, 24}, 1, 1, {0, 0, 0, 0})),
                    E::BadHeader},
        RefusalCase{"HeaderSizeZero",
                    [] {
                      Bytes b = kGood24;
                      b[0] = 0;
                      return b;
                    }(),
                    E::BadHeader},
        RefusalCase{"HeaderLongerThanData", Truncated(kGood24, 39), E::TruncatedHeader},
        RefusalCase{"V5HeaderCut", Truncated(Rgb24("", 124).bytes, 100), E::TruncatedHeader},
        RefusalCase{"PixelsCut", Truncated(kGood24, kGood24.size() - 1), E::TruncatedPixels},
        RefusalCase{"TableCut", Truncated(Indexed("", 40, 8).bytes, 40 + 10), E::TruncatedHeader},
        RefusalCase{"MasksCut", Truncated(Masked565("", 40).bytes, 44), E::TruncatedHeader},
        RefusalCase{"HugeColoursUsed",
                    [] {
                      DibFields s = FieldsOf(Layout{40, 8, 0, {}, kTable}, 1, 1, {0, 0, 0, 0});
                      s.clrUsed = 0xFFFFFFFFu;
                      return MakeDib(s);
                    }(),
                    E::TruncatedHeader},
        RefusalCase{"WidthZero", MakeDib(FieldsOf(Layout{}, 0, 1, {})), E::BadDimensions},
        RefusalCase{"WidthNegative", MakeDib(FieldsOf(Layout{}, -1, 1, {0, 0, 0, 0})),
                    E::BadDimensions},
        RefusalCase{"HeightZero", MakeDib(FieldsOf(Layout{}, 1, 0, {})), E::BadDimensions},
        RefusalCase{"MostNegativeHeight", MakeDib(FieldsOf(Layout{}, 1, INT32_MIN, {0, 0, 0, 0})),
                    E::TooLarge},
        RefusalCase{"HugeSizeLittleData", MakeDib(FieldsOf(Layout{}, 100000, 100000, k24Row)),
                    E::TooLarge},
        RefusalCase{"TopDownRle",
                    MakeDib(FieldsOf(Layout{40, 8, 1, {}, kTable}, 1, -1, Rle({1, 0}))),
                    E::BadDimensions},
        RefusalCase{"TooLarge",
                    MakeDib(FieldsOf(Layout{40, 8, 1, {}, kTable}, 65535, 65535, Rle({}))),
                    E::TooLarge},
        RefusalCase{"NoBits", MakeDib(FieldsOf(Layout{40, 0}, 1, 1, {0, 0, 0, 0})),
                    E::UnsupportedBitCount},
        RefusalCase{"SevenBits", MakeDib(FieldsOf(Layout{40, 7}, 1, 1, {0, 0, 0, 0})),
                    E::UnsupportedBitCount},
        RefusalCase{"TwoBits", MakeDib(FieldsOf(Layout{40, 2, 0, {}, kTable}, 1, 1, {0, 0, 0, 0})),
                    E::UnsupportedBitCount},
        RefusalCase{"SixtyFourBits", MakeDib(FieldsOf(Layout{40, 64}, 1, 1, Bytes(8, 0))),
                    E::UnsupportedBitCount},
        RefusalCase{"Rle8WithFourBits",
                    MakeDib(FieldsOf(Layout{40, 4, 1, {}, kTable}, 1, 1, Rle({}))),
                    E::UnsupportedCompression},
        RefusalCase{"BitFieldsWith24Bits",
                    MakeDib(FieldsOf(Layout{40, 24, 3, {1, 2, 3}}, 1, 1, {0, 0, 0, 0})),
                    E::UnsupportedCompression},
        RefusalCase{"UnknownCompression", MakeDib(FieldsOf(Layout{40, 24, 99}, 1, 1, {0, 0, 0, 0})),
                    E::UnsupportedCompression},
        RefusalCase{"Jpeg", MakeDib(FieldsOf(Layout{124, 24, 4}, 1, 1, {0, 0, 0, 0})),
                    E::UnsupportedCompression},
        RefusalCase{"Os2Huffman",
                    MakeDib(FieldsOf(Layout{64, 1, 3, {}, kTable}, 1, 1, {0, 0, 0, 0})),
                    E::UnsupportedCompression}));

// Every prefix of every layout above converts or is refused, and nothing is
// read outside the data (the asan preset checks that).
TEST(ConvertDib, EveryPrefixConvertsOrIsRefused) {
  for (const DecodeCase& c : {Indexed("", 12, 8), Indexed("", 124, 4), Rgb24("", 56, true),
                              Masked565("", 40), Masked1010102("", 124)}) {
    for (std::size_t size = 0; size < c.bytes.size(); ++size) {
      EXPECT_FALSE(ConvertBytes(Truncated(c.bytes, size)).block) << size;
    }
  }
}

// Random bytes behind every known header size: no crash, no read outside.
TEST(ConvertDib, RandomBytesAreHandled) {
  std::mt19937 random(12345);
  for (std::uint32_t headerSize : {12u, 40u, 52u, 56u, 64u, 108u, 124u}) {
    for (int i = 0; i < 300; ++i) {
      Bytes b(static_cast<std::size_t>(random() % 400) + 4);
      for (auto& byte : b)
        byte = static_cast<std::uint8_t>(random());
      b[0] = static_cast<std::uint8_t>(headerSize);
      b[1] = b[2] = b[3] = 0;
      const PictureReadResult r = ConvertBytes(b);
      if (r.block)
        PictureOfBlock(r.block.get());
    }
  }
}

}  // namespace
}  // namespace qov::test
