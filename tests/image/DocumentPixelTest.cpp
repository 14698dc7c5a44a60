// The document's pixel operations: addressing, the range they act on,
// thresholding and outline marking.

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <utility>

#include "ImageTestSupport.h"
#include "image/QOV_V2Doc.h"

namespace qov::test {
namespace {

// A picture whose every pixel differs: (x + 1, y + 1, 7), rows from the top.
Picture Distinct(std::int64_t width, std::int64_t height) {
  return MakePicture(width, height, [](std::int64_t x, std::int64_t y) {
    return Bgr{static_cast<std::uint8_t>(x + 1), static_cast<std::uint8_t>(y + 1), 7};
  });
}

TEST(DocumentPixels, WithoutPictureNothingHappens) {
  CQOV_V2Doc doc;
  EXPECT_EQ(doc.m_nWidth, 0);
  EXPECT_EQ(doc.m_nHeight, 0);
  doc.m_nWidth = 12;
  doc.m_nHeight = 34;
  doc.UpdateImageSize();
  EXPECT_EQ(doc.m_nHeight, 0);
  EXPECT_EQ(doc.m_nWidth, 12) << "width is left as it was";
  doc.m_curColor = {1, 2, 3};
  doc.LoadPixel(0, 1);
  doc.StorePixel(0, 1);
  doc.ThresholdPixel(0, 1, 50);
  doc.MarkOutlinePixel(2, 2);
  EXPECT_EQ(doc.m_curColor, (Color3{1, 2, 3}));
  EXPECT_EQ(doc.m_hDib, nullptr);
}

TEST(DocumentPixels, RegistersStartAsGiven) {
  const CQOV_V2Doc doc;
  EXPECT_EQ(doc.m_darkGrayColor, (Color3{80, 80, 80}));
  EXPECT_EQ(doc.m_lightGrayColor, (Color3{230, 230, 230}));
  EXPECT_EQ(doc.m_whiteColor, (Color3{255, 255, 255}));
  EXPECT_EQ(doc.m_blackColor, (Color3{0, 0, 0}));
  EXPECT_EQ(doc.m_curColor, (Color3{0, 0, 0}));
  EXPECT_EQ(doc.m_hDib, nullptr);
}

// Row y from the top (y ≥ 1) is row y − 1 of the picture; the bottom row is
// never addressed.
TEST(DocumentPixels, LoadAndStoreAddressEveryPixelButTheBottomRow) {
  const Picture picture = Distinct(5, 4);
  CQOV_V2Doc doc;
  doc.ReplaceDib(BlockOf(picture));
  doc.UpdateImageSize();
  EXPECT_EQ(doc.m_nWidth, 5);
  EXPECT_EQ(doc.m_nHeight, 4);
  for (std::int64_t y = 1; y < 4; ++y) {
    for (std::int64_t x = 0; x < 5; ++x) {
      doc.LoadPixel(x, y);
      EXPECT_EQ(doc.m_curColor, picture.At(x, y - 1)) << x << "," << y;
      doc.m_curColor = {200, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)};
      doc.StorePixel(x, y);
    }
  }
  Picture expected = picture;
  for (std::int64_t y = 1; y < 4; ++y) {
    for (std::int64_t x = 0; x < 5; ++x) {
      expected.At(x, y - 1) = {200, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)};
    }
  }
  EXPECT_TRUE(SamePicture(PictureOfBlock(doc.m_hDib), expected));
  EXPECT_EQ(doc.m_hDib->lockCount, 0u);
}

TEST(DocumentPixels, OutOfRangeChangesNothing) {
  const Picture picture = Distinct(3, 3);
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  CQOV_V2Doc doc;
  doc.ReplaceDib(BlockOf(picture));
  const std::pair<std::int64_t, std::int64_t> outside[] = {
      {0, 0}, {1, 3}, {-1, 1}, {3, 1}, {kMax, 1}, {1, kMax}, {kMin, 1}, {1, kMin}, {2, 4}};
  for (const auto& [x, y] : outside) {
    doc.m_curColor = {9, 9, 9};
    doc.LoadPixel(x, y);
    EXPECT_EQ(doc.m_curColor, (Color3{9, 9, 9})) << x << "," << y;
    doc.StorePixel(x, y);
    doc.ThresholdPixel(x, y, 50);
    doc.MarkOutlinePixel(x, y);
  }
  EXPECT_TRUE(SamePicture(PictureOfBlock(doc.m_hDib), picture));
}

TEST(DocumentPixels, OneByOnePictureHasNoAddressablePixel) {
  CQOV_V2Doc doc;
  doc.ReplaceDib(BlockOf(MakePicture({{{1, 2, 3}}})));
  doc.m_curColor = {9, 9, 9};
  for (std::int64_t y = -1; y <= 2; ++y) {
    for (std::int64_t x = -1; x <= 1; ++x)
      doc.LoadPixel(x, y);
  }
  EXPECT_EQ(doc.m_curColor, (Color3{9, 9, 9}));
}

// A block whose header claims more than it holds (only a paste could bring
// one) is never reached outside.
TEST(DocumentPixels, NeverOutsideTheBlock) {
  CGlobalOwner block = BlockOf(MakePicture({{{1, 2, 3}, {4, 5, 6}}, {{7, 8, 9}, {1, 1, 1}}}));
  const std::uint32_t claimed = 1000;
  std::memcpy(block.get()->data + 4, &claimed, 4);
  std::memcpy(block.get()->data + 8, &claimed, 4);
  CQOV_V2Doc doc;
  doc.ReplaceDib(std::move(block));
  doc.m_curColor = {9, 9, 9};
  for (std::int64_t y : {1, 2, 500, 999}) {
    for (std::int64_t x : {0, 1, 2, 500, 999}) {
      doc.LoadPixel(x, y);
      doc.StorePixel(x, y);
      doc.ThresholdPixel(x, y, 50);
      doc.MarkOutlinePixel(x, y);
    }
  }
  EXPECT_EQ(doc.m_curColor, (Color3{9, 9, 9}));
}

struct ThresholdCase {
  int percent;
  Bgr pixel;
  bool white;
};

class DocumentThreshold : public ::testing::TestWithParam<ThresholdCase> {};

TEST_P(DocumentThreshold, WhiteOnlyWhenEveryByteIsAboveTheThreshold) {
  const ThresholdCase& c = GetParam();
  CQOV_V2Doc doc;
  doc.ReplaceDib(BlockOf(MakePicture({{c.pixel}, {{0, 0, 0}}})));
  doc.ThresholdPixel(0, 1, c.percent);
  EXPECT_EQ(doc.m_curColor, c.pixel) << "the colour before thresholding";
  const Bgr expected = c.white ? Bgr{255, 255, 255} : Bgr{0, 0, 0};
  EXPECT_EQ(PictureOfBlock(doc.m_hDib).At(0, 0), expected);
}

INSTANTIATE_TEST_SUITE_P(Edges, DocumentThreshold,
                         ::testing::Values(ThresholdCase{100, {255, 255, 255}, true},
                                           ThresholdCase{100, {255, 254, 255}, false},
                                           ThresholdCase{0, {1, 1, 1}, true},
                                           ThresholdCase{0, {0, 200, 200}, false},
                                           ThresholdCase{0, {200, 200, 0}, false},
                                           // 20 % is exactly 51.0: a byte of 51 is not above it.
                                           ThresholdCase{20, {51, 200, 200}, false},
                                           ThresholdCase{20, {52, 52, 52}, true},
                                           // 50 % is just below 127.5.
                                           ThresholdCase{50, {128, 128, 128}, true},
                                           ThresholdCase{50, {200, 127, 200}, false},
                                           ThresholdCase{-10, {0, 0, 0}, true},
                                           ThresholdCase{150, {255, 255, 255}, false}));

struct OutlineCase {
  const char* name;
  Bgr centre;
  Bgr left, right, up, down;
  bool marked;
};

void PrintTo(const OutlineCase& c, std::ostream* os) {
  *os << c.name;
}

class DocumentOutline : public ::testing::TestWithParam<OutlineCase> {};

constexpr Bgr kB{0, 0, 0};
constexpr Bgr kW{255, 255, 255};
constexpr Bgr kL{230, 230, 230};

TEST_P(DocumentOutline, MarksInteriorBlackPixelsLightGrey) {
  const OutlineCase& c = GetParam();
  // 4 × 5, the centre at (1, 2): its neighbours are rows 1 and 3 and
  // columns 0 and 2. Everything else is red.
  const Bgr r{0, 0, 255};
  const Picture picture = MakePicture({{r, r, r, r},
                                       {r, c.up, r, r},
                                       {c.left, c.centre, c.right, r},
                                       {r, c.down, r, r},
                                       {r, r, r, r}});
  CQOV_V2Doc doc;
  doc.ReplaceDib(BlockOf(picture));
  doc.m_curColor = {1, 2, 3};
  doc.MarkOutlinePixel(1, 3);
  Picture expected = picture;
  if (c.marked)
    expected.At(1, 2) = {230, 230, 230};
  EXPECT_TRUE(SamePicture(PictureOfBlock(doc.m_hDib), expected));
  EXPECT_EQ(doc.m_curColor, (Color3{1, 2, 3}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DocumentOutline,
    ::testing::Values(OutlineCase{"AllBlack", kB, kB, kB, kB, kB, true},
                      OutlineCase{"BlackAndLightGrey", kB, kL, kB, kL, kB, true},
                      OutlineCase{"WhiteLeft", kB, kW, kB, kB, kB, false},
                      OutlineCase{"WhiteRight", kB, kB, kW, kB, kB, false},
                      OutlineCase{"WhiteUp", kB, kB, kB, kW, kB, false},
                      OutlineCase{"WhiteDown", kB, kB, kB, kB, kW, false},
                      // Only the blue byte counts.
                      OutlineCase{"BlueByteOnly", {0, 255, 255}, {254, 255, 255}, kB, kB, kB, true},
                      OutlineCase{"BlueWhiteNeighbour", kB, {255, 0, 0}, kB, kB, kB, false},
                      OutlineCase{"GreyCentre", {80, 80, 80}, kB, kB, kB, kB, false}));

TEST(DocumentPixels, OutlineOnlyInsideItsRange) {
  // 4 × 4 all black: only (1..2, 2) may change.
  const Bgr b{0, 0, 0};
  const Picture picture = MakePicture({{b, b, b, b}, {b, b, b, b}, {b, b, b, b}, {b, b, b, b}});
  CQOV_V2Doc doc;
  doc.ReplaceDib(BlockOf(picture));
  for (std::int64_t y = 0; y <= 4; ++y) {
    for (std::int64_t x = -1; x <= 4; ++x)
      doc.MarkOutlinePixel(x, y);
  }
  Picture expected = picture;
  expected.At(1, 1) = {230, 230, 230};
  expected.At(2, 1) = {230, 230, 230};
  EXPECT_TRUE(SamePicture(PictureOfBlock(doc.m_hDib), expected));
}

TEST(DocumentPixels, ReplaceDibKeepsTheNewBlock) {
  CQOV_V2Doc doc;
  CGlobalOwner block = BlockOf(Distinct(2, 2));
  const HGLOBAL first = block.get();
  doc.ReplaceDib(std::move(block));
  doc.ReplaceDib(GlobalShare(first));  // another hold on it takes the place of the first
  EXPECT_EQ(doc.m_hDib, first);
  EXPECT_FALSE(GlobalIsShared(first));
  block = BlockOf(Distinct(3, 3));
  const HGLOBAL second = block.get();
  doc.ReplaceDib(std::move(block));  // the first is freed (the asan preset checks leaks)
  EXPECT_EQ(doc.m_hDib, second);
  doc.m_nWidth = 77;
  doc.ReplaceDib(nullptr);
  EXPECT_EQ(doc.m_hDib, nullptr);
  EXPECT_EQ(doc.m_nWidth, 77) << "the cached size is not refreshed";
}

}  // namespace
}  // namespace qov::test
