// WriteDibFile, and the block helpers it measures blocks with.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "ImageTestSupport.h"
#include "image/DibBlock.h"
#include "platform/File.h"

namespace qov::test {
namespace {

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
}

Bytes BytesOf(HGLOBAL h) {
  const CGlobalLock lock(h);
  const auto* p = reinterpret_cast<const std::uint8_t*>(lock.get());
  return Bytes(p, p + lock.size());
}

// Writes h to a new file; the file's bytes, or nothing when WriteDibFile
// said it wrote nothing.
std::optional<Bytes> Written(HGLOBAL h) {
  TempDir dir;
  const std::string path = dir.File("out.bmp");
  CFile file(path, CFile::modeCreate | CFile::modeWrite);
  const bool ok = WriteDibFile(h, file);
  file.Close();
  const Bytes bytes = ReadBytes(path);
  if (!ok) {
    EXPECT_TRUE(bytes.empty()) << "false, yet something was written";
    return std::nullopt;
  }
  return bytes;
}

TEST(WriteDibFile, TwentyFourBitFileSavesBackIdentically) {
  const Bytes original = ReadBytes(SuiteFile("g/rgb24.bmp"));
  const PictureReadResult r = ReadBmp(SuiteFile("g/rgb24.bmp"));
  ASSERT_TRUE(r.block);
  const auto saved = Written(r.block.get());
  ASSERT_TRUE(saved);
  EXPECT_EQ(Le32(*saved, 10), 54u) << "pixel offset";
  EXPECT_EQ(Le32(*saved, 2), saved->size()) << "file size";
  EXPECT_EQ(saved->size(), original.size());
  EXPECT_TRUE(std::equal(saved->begin() + 54, saved->end(), original.begin() + 54)) << "pixel data";
  EXPECT_EQ(Le32(*saved, 14 + 20), saved->size() - 54) << "image size";
}

// The files that the save of every golden input must give, byte for byte.
TEST(WriteDibFile, GoldenSavesOfEveryReadableInput) {
  const std::filesystem::path golden = std::filesystem::path(QOV_TEST_DATA_DIR) / "golden";
  if (!std::filesystem::exists(golden))
    GTEST_SKIP() << "no golden files";
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(golden / "in")) {
    const std::string stem = entry.path().stem().string();
    const std::filesystem::path expected = golden / "out" / (stem + ".save.bmp");
    const PictureReadResult r = ReadBmp(entry.path().string());
    if (!std::filesystem::exists(expected)) {
      EXPECT_FALSE(r.block) << stem << " should be refused";
      continue;
    }
    ASSERT_TRUE(r.block) << stem << ": " << DescribeDibReadError(r.failure.reason);
    const auto saved = Written(r.block.get());
    ASSERT_TRUE(saved) << stem;
    EXPECT_TRUE(*saved == ReadBytes(expected.string())) << stem;
    ++compared;
  }
  EXPECT_GT(compared, 0);
}

TEST(WriteDibFile, MeasuresUncompressedImageSizeAndStoresIt) {
  DibFields fields;
  fields.width = 3;
  fields.height = 2;
  fields.bitCount = 8;
  fields.imageSize = 999;
  fields.clrUsed = 2;
  fields.colorTable = {{1, 2, 3}, {4, 5, 6}};
  fields.pixels = PackRows(8, {{0, 1, 0}, {1, 0, 1}});
  const CGlobalOwner h(BlockOf(MakeDib(fields)));
  const auto saved = Written(h.get());
  ASSERT_TRUE(saved);
  EXPECT_EQ(Le32(*saved, 10), 14u + 40u + 8u) << "offset after the colour table";
  EXPECT_EQ(Le32(*saved, 2), 14u + 40u + 8u + 8u);
  EXPECT_EQ(Le32(*saved, 14 + 20), 8u) << "image size in the file";
  EXPECT_EQ(Le32(BytesOf(h.get()), 20), 8u) << "image size in the block";
}

TEST(WriteDibFile, RunLengthKeepsItsImageSize) {
  DibFields fields;
  fields.width = 4;
  fields.height = 1;
  fields.bitCount = 8;
  fields.compression = 1;
  fields.imageSize = 4;
  fields.clrUsed = 1;
  fields.colorTable = {{9, 9, 9}};
  fields.pixels = {4, 0, 0, 1};
  const CGlobalOwner h(BlockOf(MakeDib(fields)));
  const auto saved = Written(h.get());
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->size(), 14u + 40u + 4u + 4u);
  EXPECT_EQ(Le32(*saved, 14 + 20), 4u);
}

struct RefusedBlock {
  const char* name;
  Bytes block;
};

void PrintTo(const RefusedBlock& c, std::ostream* os) {
  *os << c.name;
}

class WriteDibFileRefusal : public ::testing::TestWithParam<RefusedBlock> {};

TEST_P(WriteDibFileRefusal, WritesNothing) {
  const CGlobalOwner h(BlockOf(GetParam().block));
  EXPECT_FALSE(Written(h.get()));
}

Bytes Header40(std::int32_t width, std::int32_t height, std::uint16_t bits) {
  DibFields s;
  s.width = width;
  s.height = height;
  s.bitCount = bits;
  return MakeDib(s);
}

Bytes Grown(Bytes b, std::size_t extra) {
  b.resize(b.size() + extra);
  return b;
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, WriteDibFileRefusal,
    ::testing::Values(RefusedBlock{"CoreHeader",
                                   [] {
                                     DibFields s;
                                     s.headerSize = 12;
                                     s.pixels = {1, 2, 3, 0};
                                     return MakeDib(s);
                                   }()},
                      RefusedBlock{"V4Header",
                                   [] {
                                     DibFields s;
                                     s.headerSize = 108;
                                     s.pixels = {1, 2, 3, 0};
                                     return MakeDib(s);
                                   }()},
                      RefusedBlock{"ShorterThanHeader", Bytes(20, 0)},
                      // The header declares more rows than the block holds.
                      RefusedBlock{"PixelsBeyondBlock", Grown(Header40(4, 10, 24), 16)},
                      RefusedBlock{"NegativeWidth", Grown(Header40(-4, 1, 24), 16)},
                      // More than a .bmp file can hold: nothing is computed in 32 bits.
                      RefusedBlock{"HugeDeclaredSize",
                                   Grown(Header40(0x7FFFFFFF, 0x7FFFFFFF, 32), 16)}));

TEST(WriteDibFile, NullBlockWritesNothing) {
  EXPECT_FALSE(Written(nullptr));
}

TEST(WriteDibFile, FileErrorsPropagate) {
  const PictureReadResult r = ReadBmp(SuiteFile("g/rgb24.bmp"));
  ASSERT_TRUE(r.block);
  CFile full("/dev/full", CFile::modeWrite);
  try {
    WriteDibFile(r.block.get(), full);
    FAIL() << "no exception";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::diskFull);
  }
  // The block was unlocked on the way out.
  EXPECT_EQ(r.block.get()->lockCount, 0u);
}

// The helpers measure a block by its header.
TEST(DibBlock, Helpers) {
  DibFields s;
  s.bitCount = 8;
  s.clrUsed = 20;
  s.colorTable.resize(20);
  s.pixels = {0, 0, 0, 0};
  Bytes b = MakeDib(s);
  auto* p = reinterpret_cast<std::byte*>(b.data());
  EXPECT_EQ(DibNumColors(p), 20);
  EXPECT_EQ(PaletteSize(p), 80);
  EXPECT_EQ(FindDibBits(p), p + 40 + 80);

  s.clrUsed = 0;
  s.colorTable.clear();
  s.bitCount = 24;
  s.width = 70000;
  s.height = 3;
  b = MakeDib(s);
  p = reinterpret_cast<std::byte*>(b.data());
  EXPECT_EQ(DibNumColors(p), 0);
  EXPECT_EQ(FindDibBits(p), p + 40);
  EXPECT_EQ(DibWidth(p), 70000u);
  EXPECT_EQ(DibHeight(p), 3u);

  s.headerSize = 12;
  s.bitCount = 4;
  s.width = 300;
  s.height = 2;
  b = MakeDib(s);
  p = reinterpret_cast<std::byte*>(b.data());
  EXPECT_EQ(DibNumColors(p), 16);
  EXPECT_EQ(PaletteSize(p), 48);
  EXPECT_EQ(FindDibBits(p), p + 12 + 48);
  EXPECT_EQ(DibWidth(p), 300u);
  EXPECT_EQ(DibHeight(p), 2u);

  s.bitCount = 1;
  b = MakeDib(s);
  EXPECT_EQ(DibNumColors(reinterpret_cast<std::byte*>(b.data())), 2);
  s.bitCount = 8;
  b = MakeDib(s);
  EXPECT_EQ(DibNumColors(reinterpret_cast<std::byte*>(b.data())), 256);
}

TEST(DibBlock, CopyDibBlockCopiesTheWholeAllocation) {
  EXPECT_FALSE(CopyDibBlock(nullptr));
  Bytes bytes(123);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 7);
  const CGlobalOwner h(BlockOf(bytes));
  CGlobalOwner copy(CopyDibBlock(h.get()));
  ASSERT_TRUE(copy);
  EXPECT_NE(copy.get(), h.get());
  EXPECT_EQ(BytesOf(copy.get()), bytes);
  EXPECT_EQ(h.get()->lockCount, 0u);
  EXPECT_EQ(copy.get()->lockCount, 0u);
}

}  // namespace
}  // namespace qov::test
