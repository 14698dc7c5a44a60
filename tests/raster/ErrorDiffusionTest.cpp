// 誤差分散 through its command: the sequences that the carried error makes,
// the threshold edge, the error crossing row ends, and the borders.

#include <string>

#include "platform/Clipboard.h"
#include "res/Resource.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

class ErrorDiffusionTest : public ViewTest {
 protected:
  // The visited pixels (x ≥ 1, y from 1 to H − 1) in scan order, as letters.
  std::string VisitedAfter(std::int64_t width, std::int64_t height, const PixelFunction& pixel) {
    SetPicture(width, height, pixel);
    EXPECT_TRUE(Run(ID_ERROR_DIFFUSION));
    std::string letters;
    for (std::int64_t y = 1; y <= height - 1; ++y) {
      for (std::int64_t x = 1; x < width; ++x)
        letters += LetterOfColor(Pixel(x, y));
    }
    return letters;
  }
};

TEST_F(ErrorDiffusionTest, CarriedErrorMakesTheExpectedSequences) {
  struct Case {
    const char* name;
    Color3 color;
    const char* visited;
  };
  const Case cases[] = {
      {"white", kWhite, "........."},
      {"black", kBlack, "KKKKKKKKK"},
      {"grey 128 (level 384)", {128, 128, 128}, ".K.K.K.K."},
      {"grey 85 (level 255)", {85, 85, 85}, "K.KK.KK.K"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(VisitedAfter(10, 2, Uniform(c.color)), c.visited);
  }
}

TEST_F(ErrorDiffusionTest, CorrectedLevel383IsWhiteAnd382Black) {
  EXPECT_EQ(VisitedAfter(2, 2, Uniform(ColorOfBrightness(383))), ".");
  EXPECT_EQ(VisitedAfter(2, 2, Uniform(ColorOfBrightness(382))), "K");
}

// Blue 1, green 6 has the brightness 7, not 8: after a black pixel of level
// 375 its corrected level is 382, just black.
TEST_F(ErrorDiffusionTest, BrightnessIsTruncatedAfterDoubleArithmetic) {
  const PixelFunction picture = [](std::int64_t x, std::int64_t) {
    return x == 1 ? ColorOfBrightness(375) : Color3{1, 6, 0};
  };
  EXPECT_EQ(VisitedAfter(3, 2, picture), "KK");
}

// Two visited pixels a row: with the error reset at each row, every row would
// start black, white. Carried on, the sequence runs on across the rows.
TEST_F(ErrorDiffusionTest, ErrorIsCarriedFromTheEndOfARowToTheNext) {
  EXPECT_EQ(VisitedAfter(3, 5, Uniform({85, 85, 85})), "K.KK.KK.");
}

// The same second row (levels 400, 400; alone it would start white) after a
// first row that ends light and after one that ends dark.
TEST_F(ErrorDiffusionTest, FirstPixelOfARowDependsOnTheLastOfTheRowAbove) {
  const auto picture = [](int first, int last) -> PixelFunction {
    return [=](std::int64_t x, std::int64_t y) {
      if (y == 1)
        return ColorOfBrightness(x == 1 ? first : last);
      return ColorOfBrightness(400);
    };
  };
  // 383 → white (error 382), 765 − 382 → white (382); 400 − 382 → black.
  EXPECT_EQ(VisitedAfter(3, 3, picture(383, 765)), "..K.");
  // 380 → black (error −380), 0 + 380 → black (−380); 400 + 380 → white.
  EXPECT_EQ(VisitedAfter(3, 3, picture(380, 0)), "KK..");
}

TEST_F(ErrorDiffusionTest, LeftColumnAndBottomRowKeepTheirColours) {
  const Color3 grey{128, 128, 128};
  SetPicture(6, 5, Uniform(grey));
  doc.SetModifiedFlag(false);
  view.SetScale(2);
  ASSERT_TRUE(Run(ID_ERROR_DIFFUSION));
  for (std::int64_t y = 1; y <= 5; ++y)
    EXPECT_EQ(Pixel(0, y), grey) << "row " << y;
  for (std::int64_t x = 0; x < 6; ++x)
    EXPECT_EQ(Pixel(x, 5), grey) << "column " << x;
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(view.m_nScale, 2);
  EXPECT_EQ(PictureOfBlock(backend().PeekClipboardData(CF_DIB)), PictureOf(6, 5, Uniform(grey)));
}

TEST_F(ErrorDiffusionTest, PictureOneWideOrHighIsUnchanged) {
  for (const auto& [width, height] : {std::pair{1, 6}, std::pair{6, 1}}) {
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    SetPicture(width, height, Uniform({128, 128, 128}));
    const Picture before = PictureOfBlock(doc.m_hDib);
    ASSERT_TRUE(Run(ID_ERROR_DIFFUSION));
    EXPECT_EQ(PictureOfBlock(doc.m_hDib), before);
  }
}

}  // namespace
}  // namespace qov::test
