// Every file of the bitmap test suite: the good ones open with the right
// pixels, the questionable and bad ones open or are refused with a reason.

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "ImageTestSupport.h"

namespace qov::test {
namespace {

std::uint32_t Le(const Bytes& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i)
    v = v << 8 | b[at + static_cast<std::size_t>(i)];
  return v;
}

struct RawLayout {
  std::int64_t width;
  std::int64_t height;  // rows; top-down when the header's height is negative
  bool topDown;
  unsigned bitCount;
  std::size_t pixelOffset;
  std::size_t stride;
};

// The plain reading of a suite file's header, independent of the reader
// under test: pixel data where the file header says it is.
RawLayout Layout(const Bytes& file) {
  const auto height = static_cast<std::int32_t>(Le(file, 22, 4));
  RawLayout l{static_cast<std::int32_t>(Le(file, 18, 4)),
              height < 0 ? -height : height,
              height < 0,
              Le(file, 28, 2),
              Le(file, 10, 4),
              0};
  l.stride = (l.bitCount * static_cast<std::size_t>(l.width) + 31) / 32 * 4;
  return l;
}

std::size_t RowStart(const RawLayout& l, std::int64_t yFromTop) {
  const std::int64_t stored = l.topDown ? yFromTop : l.height - 1 - yFromTop;
  return l.pixelOffset + static_cast<std::size_t>(stored) * l.stride;
}

Picture Decode(const Bytes& file,
               const std::function<Bgr(const RawLayout&, std::size_t, std::int64_t)>& pixel) {
  const RawLayout l = Layout(file);
  Picture p;
  p.width = l.width;
  p.height = l.height;
  p.pixels.resize(static_cast<std::size_t>(l.width * l.height));
  for (std::int64_t y = 0; y < l.height; ++y) {
    for (std::int64_t x = 0; x < l.width; ++x)
      p.At(x, y) = pixel(l, RowStart(l, y), x);
  }
  return p;
}

// Up to 8 bits: each index picked out of its byte, high bits first, and
// looked up in the 4-byte colour table after the 40-byte header.
Picture DecodeIndexed(const Bytes& file) {
  return Decode(file, [&file](const RawLayout& l, std::size_t row, std::int64_t x) {
    const std::size_t bit = static_cast<std::size_t>(x) * l.bitCount;
    const unsigned shift = 8 - l.bitCount - static_cast<unsigned>(bit % 8);
    const unsigned index = (unsigned{file[row + bit / 8]} >> shift) & ((1u << l.bitCount) - 1);
    const std::size_t entry = 14 + Le(file, 14, 4) + 4 * index;
    return Bgr{file[entry], file[entry + 1], file[entry + 2]};
  });
}

Picture DecodeRgb24(const Bytes& file) {
  return Decode(file, [&file](const RawLayout&, std::size_t row, std::int64_t x) {
    const std::size_t at = row + 3 * static_cast<std::size_t>(x);
    return Bgr{file[at], file[at + 1], file[at + 2]};
  });
}

// 5 bits per channel, each value times 8; the top bit ignored.
Picture DecodeRgb16(const Bytes& file) {
  return Decode(file, [&file](const RawLayout&, std::size_t row, std::int64_t x) {
    const std::uint32_t v = Le(file, row + 2 * static_cast<std::size_t>(x), 2);
    return Bgr{static_cast<std::uint8_t>((v & 0x1F) * 8),
               static_cast<std::uint8_t>(((v >> 5) & 0x1F) * 8),
               static_cast<std::uint8_t>(((v >> 10) & 0x1F) * 8)};
  });
}

// 16 or 32 bits through the masks at offset 54 (after a 40-byte header, or
// inside a larger one), each field taken to 8 bits by repeating its bits
// from the top: bit k of the result is bit k mod n of an n-bit field.
Picture DecodeBitFields(const Bytes& file) {
  return Decode(file, [&file](const RawLayout& l, std::size_t row, std::int64_t x) {
    const std::size_t bytes = l.bitCount / 8;
    const std::uint32_t v =
        Le(file, row + bytes * static_cast<std::size_t>(x), static_cast<int>(bytes));
    std::array<std::uint8_t, 3> rgb{};
    for (std::size_t c = 0; c < 3; ++c) {
      const std::uint32_t mask = Le(file, 54 + 4 * c, 4);
      if (mask == 0)
        continue;
      const int low = std::countr_zero(mask);
      const auto n = static_cast<int>(std::bit_width(mask >> low));
      const std::uint32_t field = (v & mask) >> low;
      for (int k = 0; k < 8; ++k) {
        const int bit = n > 8 ? n - 1 - k : n - 1 - k % n;
        rgb[c] = static_cast<std::uint8_t>(rgb[c] << 1 | (field >> bit & 1));
      }
    }
    return Bgr{rgb[2], rgb[1], rgb[0]};
  });
}

// The one trusted decode: the 24-bit file's own bytes.
const Picture& Reference() {
  static const Picture reference = DecodeRgb24(ReadBytes(SuiteFile("g/rgb24.bmp")));
  return reference;
}

Picture Opened(const std::string& relative) {
  PictureReadResult r = ReadBmp(SuiteFile(relative));
  EXPECT_EQ(r.failure.reason, DibReadError::None)
      << relative << ": " << DescribeDibReadError(r.failure.reason);
  return PictureOfBlock(r.block.get());
}

enum class Oracle {
  Reference,  // exactly the 24-bit file's picture
  Indexed,    // its own colour table, index by index
  SameAs,     // exactly what another suite file opens as
  Rgb16,      // 5-5-5 times 8, and close to the 24-bit picture
  BitFields,  // through its masks, and close to the 24-bit picture
};

struct GoodCase {
  const char* file;
  Oracle oracle;
  const char* other;  // for SameAs
};

void PrintTo(const GoodCase& c, std::ostream* os) {
  *os << c.file;
}

class BmpSuiteGood : public ::testing::TestWithParam<GoodCase> {};

TEST_P(BmpSuiteGood, OpensWithTheRightPixels) {
  const GoodCase& c = GetParam();
  const std::string relative = std::string("g/") + c.file;
  const Picture actual = Opened(relative);
  switch (c.oracle) {
    case Oracle::Reference:
      EXPECT_TRUE(SamePicture(actual, Reference()));
      break;
    case Oracle::Indexed:
      EXPECT_TRUE(SamePicture(actual, DecodeIndexed(ReadBytes(SuiteFile(relative)))));
      break;
    case Oracle::SameAs:
      EXPECT_TRUE(SamePicture(actual, Opened(std::string("g/") + c.other)));
      break;
    case Oracle::Rgb16:
      EXPECT_TRUE(SamePicture(actual, DecodeRgb16(ReadBytes(SuiteFile(relative)))));
      // The suite rounds 8-bit channels to 5 bits; times 8 lands within 10.
      EXPECT_TRUE(NearPicture(actual, Reference(), 10));
      break;
    case Oracle::BitFields:
      EXPECT_TRUE(SamePicture(actual, DecodeBitFields(ReadBytes(SuiteFile(relative)))));
      EXPECT_TRUE(NearPicture(actual, Reference(), 8));
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, BmpSuiteGood,
                         ::testing::Values(GoodCase{"rgb24.bmp", Oracle::Reference, nullptr},
                                           GoodCase{"rgb24pal.bmp", Oracle::Reference, nullptr},
                                           GoodCase{"rgb32.bmp", Oracle::Reference, nullptr},
                                           GoodCase{"rgb16.bmp", Oracle::Rgb16, nullptr},
                                           GoodCase{"rgb16-565.bmp", Oracle::BitFields, nullptr},
                                           GoodCase{"rgb16-565pal.bmp", Oracle::BitFields, nullptr},
                                           GoodCase{"rgb16bfdef.bmp", Oracle::BitFields, nullptr},
                                           GoodCase{"rgb32bf.bmp", Oracle::Reference, nullptr},
                                           GoodCase{"rgb32bfdef.bmp", Oracle::Reference, nullptr},
                                           GoodCase{"pal1.bmp", Oracle::Indexed, nullptr},
                                           GoodCase{"pal1bg.bmp", Oracle::Indexed, nullptr},
                                           GoodCase{"pal1wb.bmp", Oracle::Indexed, nullptr},
                                           GoodCase{"pal4.bmp", Oracle::Indexed, nullptr},
                                           GoodCase{"pal4gs.bmp", Oracle::Indexed, nullptr},
                                           GoodCase{"pal8.bmp", Oracle::Indexed, nullptr},
                                           GoodCase{"pal8gs.bmp", Oracle::Indexed, nullptr},
                                           GoodCase{"pal8nonsquare.bmp", Oracle::Indexed, nullptr},
                                           GoodCase{"pal8w124.bmp", Oracle::Indexed, nullptr},
                                           GoodCase{"pal8w125.bmp", Oracle::Indexed, nullptr},
                                           GoodCase{"pal8w126.bmp", Oracle::Indexed, nullptr},
                                           GoodCase{"pal4rle.bmp", Oracle::SameAs, "pal4.bmp"},
                                           GoodCase{"pal8rle.bmp", Oracle::SameAs, "pal8.bmp"},
                                           GoodCase{"pal8-0.bmp", Oracle::SameAs, "pal8.bmp"},
                                           GoodCase{"pal8os2.bmp", Oracle::SameAs, "pal8.bmp"},
                                           GoodCase{"pal8topdown.bmp", Oracle::SameAs, "pal8.bmp"},
                                           GoodCase{"pal8v4.bmp", Oracle::SameAs, "pal8.bmp"},
                                           GoodCase{"pal8v5.bmp", Oracle::SameAs, "pal8.bmp"}));

struct OtherCase {
  const char* file;
  DibReadError error;                         // None: the file opens
  DibReadError warning = DibReadError::None;  // of a file that opens
};

void PrintTo(const OtherCase& c, std::ostream* os) {
  *os << c.file;
}

class BmpSuiteOther : public ::testing::TestWithParam<OtherCase> {};

TEST_P(BmpSuiteOther, OpensOrIsRefusedWithItsReason) {
  const OtherCase& c = GetParam();
  const PictureReadResult r = ReadBmp(SuiteFile(c.file));
  EXPECT_EQ(r.failure.reason, c.error) << DescribeDibReadError(r.failure.reason);
  EXPECT_EQ(r.failure.warning, c.warning) << DescribeDibReadError(r.failure.warning);
  if (c.error == DibReadError::None) {
    const Picture p = PictureOfBlock(r.block.get());
    EXPECT_EQ(p.width, 127);
    EXPECT_EQ(p.height, 64);
  } else {
    EXPECT_FALSE(r.block);
  }
}

using E = DibReadError;
const OtherCase kOtherCases[] = {
    {"q/pal1huffmsb.bmp", E::UnsupportedCompression},
    {"q/pal1p1.bmp", E::None},
    {"q/pal2.bmp", E::UnsupportedBitCount},
    {"q/pal2color.bmp", E::UnsupportedBitCount},
    {"q/pal4rlecut.bmp", E::None},
    {"q/pal4rletrns.bmp", E::None},
    {"q/pal8offs.bmp", E::None},
    {"q/pal8os2-hs.bmp", E::None},
    {"q/pal8os2-sz.bmp", E::None},
    // 252 three-byte entries where the core header implies 256: the table
    // eats the first pixel bytes and the last row comes up short.
    {"q/pal8os2sp.bmp", E::TruncatedPixels},
    {"q/pal8os2v2-16.bmp", E::BadHeader},
    {"q/pal8os2v2-40sz.bmp", E::None},
    {"q/pal8os2v2-sz.bmp", E::None},
    {"q/pal8os2v2.bmp", E::None},
    {"q/pal8oversizepal.bmp", E::None},
    {"q/pal8rlecut.bmp", E::None},
    {"q/pal8rletrns.bmp", E::None},
    {"q/rgb16-231.bmp", E::None},
    {"q/rgb16-3103.bmp", E::None},
    {"q/rgb16faketrns.bmp", E::None},
    {"q/rgb24jpeg.bmp", E::UnsupportedCompression},
    {"q/rgb24largepal.bmp", E::None},
    {"q/rgb24lprof.bmp", E::None},
    {"q/rgb24png.bmp", E::UnsupportedCompression},
    {"q/rgb24prof.bmp", E::None},
    {"q/rgb24prof2.bmp", E::None},
    {"q/rgb24rle24.bmp", E::UnsupportedCompression},
    {"q/rgb32-111110.bmp", E::None},
    {"q/rgb32-7187.bmp", E::None},
    {"q/rgb32-xbgr.bmp", E::None},
    {"q/rgb32fakealpha.bmp", E::None},
    {"q/rgb32h52.bmp", E::None},
    {"q/rgba16-1924.bmp", E::None},
    {"q/rgba16-4444.bmp", E::None},
    {"q/rgba16-5551.bmp", E::None},
    {"q/rgba32-1.bmp", E::None},
    {"q/rgba32-1010102.bmp", E::None},
    {"q/rgba32-2.bmp", E::None},
    {"q/rgba32-61754.bmp", E::None},
    {"q/rgba32-81284.bmp", E::None},
    {"q/rgba32abf.bmp", E::None},
    {"q/rgba32h56.bmp", E::None},
    {"q/rgba64.bmp", E::UnsupportedBitCount},
    {"b/badbitcount.bmp", E::UnsupportedBitCount},
    {"b/badbitssize.bmp", E::None},
    {"b/baddens1.bmp", E::None},
    {"b/baddens2.bmp", E::None},
    {"b/badfilesize.bmp", E::None},
    {"b/badheadersize.bmp", E::None},
    {"b/badpalettesize.bmp", E::TruncatedPixels},
    {"b/badplanes.bmp", E::None},
    {"b/badrle.bmp", E::None},
    {"b/badrle4.bmp", E::None},
    {"b/badrle4bis.bmp", E::None},
    {"b/badrle4ter.bmp", E::None},
    {"b/badrlebis.bmp", E::None},
    {"b/badrleter.bmp", E::None},
    {"b/badwidth.bmp", E::BadDimensions},
    {"b/pal8badindex.bmp", E::None},
    {"b/reallybig.bmp", E::TooLarge},
    {"b/rgb16-880.bmp", E::None},
    {"b/rletopdown.bmp", E::BadDimensions},
    {"b/shortfile.bmp", E::TruncatedPixels},
};

INSTANTIATE_TEST_SUITE_P(Files, BmpSuiteOther, ::testing::ValuesIn(kOtherCases));

// Every file of the suite's folders is in one of the tables above.
TEST(BmpSuite, EveryFileIsCovered) {
  std::set<std::string> listed;
  for (const OtherCase& c : kOtherCases)
    listed.insert(c.file);
  for (const char* folder : {"q", "b"}) {
    for (const auto& entry : std::filesystem::directory_iterator(SuiteFile(folder))) {
      const std::string name = std::string(folder) + "/" + entry.path().filename().string();
      EXPECT_TRUE(listed.count(name)) << name << " is not in the table";
    }
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(SuiteFile("g")),
                          std::filesystem::directory_iterator()),
            27);
}

// Files that differ from good ones only in ways the reader looks past.
TEST(BmpSuite, QuestionableFilesThatShowTheSamePicture) {
  // (rgb24prof2.bmp stores other colours and relies on its colour profile,
  // which is not applied.)
  for (const char* file :
       {"q/rgb24largepal.bmp", "q/rgb24lprof.bmp", "q/rgb24prof.bmp", "q/rgb32fakealpha.bmp"}) {
    EXPECT_TRUE(SamePicture(Opened(file), Reference())) << file;
  }
  const Picture pal8 = Opened("g/pal8.bmp");
  for (const char* file : {"q/pal8offs.bmp", "q/pal8os2v2.bmp", "q/pal8os2v2-sz.bmp",
                           "q/pal8os2v2-40sz.bmp", "q/pal8oversizepal.bmp"}) {
    EXPECT_TRUE(SamePicture(Opened(file), pal8)) << file;
  }
}

}  // namespace
}  // namespace qov::test
