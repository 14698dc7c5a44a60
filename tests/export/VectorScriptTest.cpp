#include <gtest/gtest.h>

#include "export/VectorScript.h"
#include "tests/export/TestSupport.h"

namespace qov::test {
namespace {

const std::string kPreamble =
    "NameClass('\x88\xEA\x94\xCA');\nPenSize(1);\nPenPat(2);\nFillPat(1);\nPenFore(0,0,0);\n"
    "PenBack(65535,65535,65535);\nFillFore(0,0,0);\nFillBack(0,0,0);\n";

constexpr int kAllColours = 0;
constexpr int kNoNearWhite = 1;

std::string Square(const std::string& rgb, int x, int top, int H) {
  return "PenFore(" + rgb + ");\nFillBack(" + rgb + ");\nRect(" + std::to_string(x) + "," +
         std::to_string(H - top) + "," + std::to_string(x + 1) + "," + std::to_string(H - top - 1) +
         ");\n";
}

TEST(VectorScript, WritesEveryPixelButColumnZeroAndTheBottomRow) {
  auto doc = MakeDoc(3, 2, Uniform(kWhite));
  EXPECT_EQ(WriteVectorScript(*doc, kAllColours), kPreamble + Square("65535,65535,65535", 1, 1, 2) +
                                                      Square("65535,65535,65535", 2, 1, 2));
  EXPECT_EQ(WriteVectorScript(*doc, kNoNearWhite), kPreamble);
}

TEST(VectorScript, RedPixelWithEitherOption) {
  auto doc = MakeDoc(2, 2, [](std::int64_t x, std::int64_t y) {
    return x == 1 && y == 1 ? Color3{0, 0, 255} : kBlack;
  });
  const std::string expected =
      kPreamble + "PenFore(65535,255,255);\nFillBack(65535,255,255);\nRect(1,1,2,0);\n";
  EXPECT_EQ(WriteVectorScript(*doc, kAllColours), expected);
  EXPECT_EQ(WriteVectorScript(*doc, kNoNearWhite), expected);
}

TEST(VectorScript, NearWhiteLimitLooksAtRedAndGreenOnly) {
  // Top row: black (column 0), grey 239, grey 240, yellow; second row:
  // cyan, black, white; the bottom row is never written.
  const std::vector<std::vector<Color3>> pixels{
      {kBlack, {239, 239, 239}, {240, 240, 240}, {0, 255, 255}},
      {kBlack, {255, 255, 0}, kBlack, kWhite},
      {kBlack, kBlack, kBlack, kBlack}};
  auto doc = MakeDoc(4, 3, [&](std::int64_t x, std::int64_t y) {
    return pixels[static_cast<std::size_t>(y - 1)][static_cast<std::size_t>(x)];
  });
  const std::string grey239 = Square("61439,61439,61439", 1, 1, 3);
  const std::string cyan = Square("255,65535,65535", 1, 2, 3);
  const std::string black = Square("255,255,255", 2, 2, 3);
  EXPECT_EQ(WriteVectorScript(*doc, kNoNearWhite), kPreamble + grey239 + cyan + black);
  EXPECT_EQ(WriteVectorScript(*doc, kAllColours), kPreamble + grey239 +
                                                      Square("61695,61695,61695", 2, 1, 3) +
                                                      Square("65535,65535,255", 3, 1, 3) + cyan +
                                                      black + Square("65535,65535,65535", 3, 2, 3));
}

TEST(VectorScript, ThinPicturesGiveThePreambleOnly) {
  for (auto [w, h] : {std::pair{1, 4}, std::pair{4, 1}}) {
    auto doc = MakeDoc(w, h, Uniform(kBlack));
    EXPECT_EQ(WriteVectorScript(*doc, kAllColours), kPreamble);
  }
}

TEST(VectorScript, FileErrorsPropagateWithoutAMessage) {
  ScopedHeadlessPlatform platform;
  auto doc = MakeDoc(40, 40, Uniform(kBlack));
  CFile full("/dev/full", CFile::modeCreate | CFile::modeWrite);
  EXPECT_THROW(SaveVectorScript(*doc, full, kAllColours), CFileException);
  EXPECT_TRUE(platform.backend().Messages().empty());
}

}  // namespace
}  // namespace qov::test
