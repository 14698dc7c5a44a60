#include <gtest/gtest.h>

#include "export/DotsToLines.h"
#include "export/DxfNumber.h"
#include "tests/export/TestSupport.h"

namespace qov::test {
namespace {

std::vector<DxfLine> Lines(CQOV_V2Doc& doc) {
  return ParseDxf(WriteDxf(doc, WriteDotsToLines));
}

// A join from centre (x, y) to (x2, y2) of a picture of height H.
DxfLine Join(int colour, double H, double x, double y, double x2, double y2) {
  return Segment(colour, x, H - y, x2, H - y2, kDigitsJoin);
}

DxfLine Stroke(int colour, double H, double x, double y) {
  return Segment(colour, x + 0.25, H - y - 0.25, x - 0.25, H - y + 0.25, kDigitsStroke);
}

PixelFunction BlackAt(std::vector<std::pair<std::int64_t, std::int64_t>> dots) {
  return [dots = std::move(dots)](std::int64_t x, std::int64_t y) {
    for (auto [dx, dy] : dots) {
      if (dx == x && dy == y)
        return kBlack;
    }
    return kWhite;
  };
}

TEST(DotsToLines, LoneDotGetsStrokeWithTenDigits) {
  auto doc = MakeDoc(10, 10, BlackAt({{2, 3}}));
  EXPECT_EQ(
      Lines(*doc),
      (std::vector<DxfLine>{{7, "0.765000008", "2.295000024", "0.5950000063", "2.465000026"}}));
}

TEST(DotsToLines, NeighboursSideBySideGiveOneJoin) {
  auto doc = MakeDoc(10, 10, BlackAt({{2, 3}, {3, 3}}));
  EXPECT_EQ(Lines(*doc), (std::vector<DxfLine>{{7, "0.68", "2.38", "1.02", "2.38"}}));
}

TEST(DotsToLines, HandDrawnPictureGivesJoinsInScanOrder) {
  auto doc = MakeDoc(Art(R"(
      K....
      .KK..
      ..K.K
      .K...
      .....
    )"));
  EXPECT_EQ(Lines(*doc), (std::vector<DxfLine>{
                             {7, "0.34", "1.02", "0.68", "1.02"},  // (1,2) right
                             {7, "0.34", "1.02", "0.68", "0.68"},  // (1,2) down-right
                             {7, "0.68", "1.02", "0.68", "0.68"},  // (2,2) down
                             {7, "0.68", "0.68", "0.34", "0.34"},  // (2,3) down-left
                         }));
}

TEST(DotsToLines, SquareOfFourGivesItsOutline) {
  auto doc = MakeDoc(Art(R"(
      ......
      ..KK..
      ..KK..
      ......
      ......
    )"));
  const double H = 5;
  EXPECT_EQ(Lines(*doc), (std::vector<DxfLine>{Join(7, H, 2, 2, 3, 2), Join(7, H, 2, 2, 2, 3),
                                               Join(7, H, 3, 2, 3, 3), Join(7, H, 2, 3, 3, 3)}));
}

TEST(DotsToLines, DiagonalsJoinDownwardsAndOnlyTheLeftLeaningEndGetsAStroke) {
  auto right = MakeDoc(Art(R"(
      .......
      .K.....
      ..K....
      ...K...
      .......
      .......
    )"));
  const double H = 6;
  EXPECT_EQ(Lines(*right), (std::vector<DxfLine>{Join(7, H, 1, 2, 2, 3), Join(7, H, 2, 3, 3, 4)}));
  // The last pixel's upper-right neighbour is not looked at.
  auto left = MakeDoc(Art(R"(
      .......
      ...K...
      ..K....
      .K.....
      .......
      .......
    )"));
  EXPECT_EQ(Lines(*left), (std::vector<DxfLine>{Join(7, H, 3, 2, 2, 3), Join(7, H, 2, 3, 1, 4),
                                                Stroke(7, H, 1, 4)}));
}

TEST(DotsToLines, GreyIsADotButNeverJoinedTo) {
  const Color3 grey70{70, 70, 70};
  auto doc = MakeDoc(6, 5, [&](std::int64_t x, std::int64_t y) {
    if (y == 2 && x == 2)
      return kBlack;
    if (y == 2 && x == 3)
      return grey70;
    return kWhite;
  });
  EXPECT_EQ(Lines(*doc), (std::vector<DxfLine>{Stroke(7, 5, 2, 2)}));
  // A grey centre joins black neighbours in colour 4.
  auto greyCentre = MakeDoc(6, 5, [&](std::int64_t x, std::int64_t y) {
    if (y == 2 && x == 2)
      return grey70;
    if (y == 3 && x == 2)
      return kBlack;
    return kWhite;
  });
  EXPECT_EQ(Lines(*greyCentre), (std::vector<DxfLine>{Join(4, 5, 2, 2, 2, 3)}));
}

TEST(DotsToLines, FirstRowRepeatsReadsOutsideThePicture) {
  // (3, 1) has no join; its upper-left read falls outside the picture and
  // repeats the down-left read of the grey (2, 2), which counts as a dot:
  // no stroke. One row lower the same shape gets its stroke.
  const std::vector<std::string> top = Art(R"(
      ...K..
      ..G...
      ......
      ......
      ......
    )");
  const double H = 5;
  EXPECT_EQ(Lines(*MakeDoc(top)), (std::vector<DxfLine>{Stroke(4, H, 2, 2)}));
  const std::vector<std::string> lower = Art(R"(
      ......
      ...K..
      ..G...
      ......
      ......
    )");
  EXPECT_EQ(Lines(*MakeDoc(lower)), (std::vector<DxfLine>{Stroke(7, H, 3, 2), Stroke(4, H, 2, 3)}));
  // A lone black pixel in the first row: both outside reads repeat white.
  EXPECT_EQ(Lines(*MakeDoc(Art(R"(
      ..K..
      .....
      .....
      .....
    )"))),
            (std::vector<DxfLine>{Stroke(7, 4, 2, 1)}));
  // With a black left neighbour: the neighbour writes the join, no stroke.
  EXPECT_EQ(Lines(*MakeDoc(Art(R"(
      .KK..
      .....
      .....
      .....
    )"))),
            (std::vector<DxfLine>{Join(7, 4, 1, 1, 2, 1)}));
}

TEST(DotsToLines, EdgePixelsAreFarEndsButNeverCentres) {
  // Column W − 1 and row H − 1 are reached by joins; the black pixel in
  // column 0 writes nothing.
  auto doc = MakeDoc(Art(R"(
      .....
      K..KK
      ...K.
      .....
    )"));
  const double H = 4;
  EXPECT_EQ(Lines(*doc), (std::vector<DxfLine>{Join(7, H, 3, 2, 4, 2), Join(7, H, 3, 2, 3, 3)}));
}

TEST(DotsToLines, SmallPicturesGiveHeaderAndTrailerOnly) {
  for (auto [w, h] : {std::pair{2, 9}, std::pair{9, 2}}) {
    auto doc = MakeDoc(w, h, Uniform(kBlack));
    EXPECT_EQ(WriteDxf(*doc, WriteDotsToLines), ExpectedDxfHeader() + kDxfTrailer);
  }
}

TEST(DotsToLines, LeavesThePictureUnchanged) {
  auto doc = MakeDoc(Art(R"(
      KGK.
      .KK.
      GK.K
      KKKK
    )"));
  const Picture before = PictureOfBlock(doc->m_hDib);
  Lines(*doc);
  EXPECT_EQ(PictureOfBlock(doc->m_hDib), before);
}

}  // namespace
}  // namespace qov::test
