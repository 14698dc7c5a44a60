#include <gtest/gtest.h>

#include "export/DotsToCrosses.h"
#include "export/DxfNumber.h"
#include "tests/export/TestSupport.h"

namespace qov::test {
namespace {

std::vector<DxfLine> Crosses(CQOV_V2Doc& doc) {
  return ParseDxf(WriteDxf(doc, WriteDotsToCrosses));
}

TEST(DotsToCrosses, BlackPixelGivesTwoDiagonalsOfItsCell) {
  auto doc = MakeDoc(
      10, 10, [](std::int64_t x, std::int64_t y) { return x == 2 && y == 3 ? kBlack : kWhite; });
  EXPECT_EQ(Crosses(*doc), (std::vector<DxfLine>{{7, "0.68", "2.72", "1.02", "2.38"},
                                                 {7, "1.02", "2.72", "0.68", "2.38"}}));
}

TEST(DotsToCrosses, HandDrawnPictureGivesCrossesInScanOrder) {
  // Column 0 and the bottom row are never examined; the last column is.
  // 'G' is grey 80: a cross of colour 4.
  auto doc = MakeDoc(Art(R"(
      K.G.
      .K.K
      KKKK
    )"));
  EXPECT_EQ(Crosses(*doc), (std::vector<DxfLine>{
                               {4, "0.68", "1.02", "1.02", "0.68"},
                               {4, "1.02", "1.02", "0.68", "0.68"},
                               {7, "0.34", "0.68", "0.68", "0.34"},
                               {7, "0.68", "0.68", "0.34", "0.34"},
                               {7, "1.02", "0.68", "1.36", "0.34"},
                               {7, "1.36", "0.68", "1.02", "0.34"},
                           }));
}

TEST(DotsToCrosses, OnlyTheBlueByteDecidesTheClass) {
  struct Case {
    Color3 bgr;
    int colour;  // 0: no cross
  };
  const Case cases[] = {
      {{59, 255, 255}, 7}, {{60, 0, 0}, 4},  {{99, 0, 0}, 4},
      {{100, 0, 0}, 0},    {{0, 0, 255}, 7},  // pure red
      {{255, 0, 0}, 0},                       // pure blue
      {{80, 80, 80}, 4},
  };
  for (const Case& c : cases) {
    auto doc = MakeDoc(
        3, 3, [&](std::int64_t x, std::int64_t y) { return x == 1 && y == 1 ? c.bgr : kWhite; });
    const auto lines = Crosses(*doc);
    if (c.colour == 0) {
      EXPECT_TRUE(lines.empty()) << int{c.bgr[0]};
    } else {
      ASSERT_EQ(lines.size(), 2u) << int{c.bgr[0]};
      EXPECT_EQ(lines[0], Segment(c.colour, 1, 3, 2, 2, kDigitsJoin));
      EXPECT_EQ(lines[1], Segment(c.colour, 2, 3, 1, 2, kDigitsJoin));
    }
  }
}

TEST(DotsToCrosses, FullyBlackPictureGivesTwoRecordsPerExaminedPixel) {
  const std::int64_t W = 7, H = 5;
  auto doc = MakeDoc(W, H, Uniform(kBlack));
  std::vector<DxfLine> expected;
  for (std::int64_t y = 1; y <= H - 1; ++y) {
    for (std::int64_t x = 1; x <= W - 1; ++x) {
      const auto fx = static_cast<double>(x), fy = static_cast<double>(H - y);
      expected.push_back(Segment(7, fx, fy + 1, fx + 1, fy, kDigitsJoin));
      expected.push_back(Segment(7, fx + 1, fy + 1, fx, fy, kDigitsJoin));
    }
  }
  EXPECT_EQ(Crosses(*doc), expected);
  EXPECT_EQ(expected.size(), 2u * (W - 1) * (H - 1));
}

TEST(DotsToCrosses, ThinPicturesGiveHeaderAndTrailerOnly) {
  for (auto [w, h] : {std::pair{1, 5}, std::pair{5, 1}, std::pair{1, 1}}) {
    auto doc = MakeDoc(w, h, Uniform(kBlack));
    EXPECT_EQ(WriteDxf(*doc, WriteDotsToCrosses), ExpectedDxfHeader() + kDxfTrailer);
  }
}

TEST(DotsToCrosses, LeavesPictureAndLastReadColour) {
  auto doc = MakeDoc(Art(R"(
      ....
      ..K.
      .KKG
      ....
    )"));
  const Picture before = PictureOfBlock(doc->m_hDib);
  Crosses(*doc);
  EXPECT_EQ(PictureOfBlock(doc->m_hDib), before);
  EXPECT_EQ(doc->m_curColor, kDarkGray);  // pixel (W − 1, H − 1)
}

}  // namespace
}  // namespace qov::test
