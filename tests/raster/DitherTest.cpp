// ディザリング１ and ディザリング２ through their commands: the covered area,
// the pattern of every level band, the step-by-step brightness sum, and the
// runs without a picture.

#include <string>

#include "platform/Clipboard.h"
#include "res/Resource.h"
#include "tests/raster/DitherLevels.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

struct DitherKind {
  const char* name;
  UINT command;
  std::int64_t block;
};

const DitherKind kDither1{"dither1", ID_DITHER1, 3};
const DitherKind kDither2{"dither2", ID_DITHER2, 2};

class DitherTest : public ViewTest {
 protected:
  // The one block of a picture two blocks wide and high, as letters.
  std::string BlockAfter(const DitherKind& kind, const PixelFunction& pixel) {
    const std::int64_t n = kind.block;
    SetPicture(2 * n, 2 * n, pixel);
    EXPECT_TRUE(Run(kind.command));
    std::string letters;
    for (std::int64_t y = n; y < 2 * n; ++y) {
      for (std::int64_t x = n; x < 2 * n; ++x)
        letters += LetterOfColor(Pixel(x, y));
    }
    return letters;
  }
};

TEST_F(DitherTest, EveryLevelBandGetsItsPattern) {
  for (const auto& [kind, levels] :
       {std::pair{kDither1, std::span<const LevelCase>(kDither1Levels)},
        std::pair{kDither2, std::span<const LevelCase>(kDither2Levels)}}) {
    for (const LevelCase& c : levels) {
      SCOPED_TRACE(testing::Message() << kind.name << " level " << c.level);
      EXPECT_EQ(BlockAfter(kind, Uniform(ColorOfBrightness(c.level))), c.pattern);
    }
  }
}

TEST_F(DitherTest, NamedColoursGiveTheirPatterns) {
  struct NamedCase {
    DitherKind kind;
    Color3 color;
    const char* pattern;
  };
  const NamedCase cases[] = {
      {kDither1, {128, 128, 128}, "K.K.K.K.."}, {kDither2, {128, 128, 128}, ".GG."},
      {kDither1, kWhite, "........."},          {kDither2, kWhite, "...."},
      {kDither1, kBlack, "KKKKKKKKK"},          {kDither2, kBlack, "KKKK"},
      {kDither1, {255, 0, 0}, "KKKKK.K.."},     {kDither2, {255, 0, 0}, "GGG."},
      {kDither1, {0, 255, 0}, "K.K.K.K.."},     {kDither2, {0, 255, 0}, ".KK."},
  };
  for (const NamedCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind.name << " colour " << int{c.color[0]} << ","
                                    << int{c.color[1]} << "," << int{c.color[2]});
    EXPECT_EQ(BlockAfter(c.kind, Uniform(c.color)), c.pattern);
  }
}

// Blue 1, green 6 adds 7 as the first pixel of a block (0.8 + 7.2 comes out
// just below 8) but 8 after a running sum of 79 (the sum rounds up to 87).
// The other pixels bring the block to the edge between levels 60 and 61.
TEST_F(DitherTest, BrightnessIsSummedStepByStepInDoublePrecision) {
  const Color3 blueGreen{1, 6, 0};
  const Color3 red79{0, 0, 79};
  const Color3 red78{0, 0, 78};
  const auto block = [](Color3 a, Color3 b, Color3 c, Color3 d) -> PixelFunction {
    return [=](std::int64_t x, std::int64_t y) {
      if (y == 2)
        return x == 2 ? a : b;
      return x == 2 ? c : d;
    };
  };
  EXPECT_EQ(BlockAfter(kDither2, block(blueGreen, red79, red79, red78)), "KKKK");  // 243 / 4
  EXPECT_EQ(BlockAfter(kDither2, block(red79, blueGreen, red79, red78)), "KKK.");  // 244 / 4
}

// The blocks start at row and column n and stop at the last whole block;
// everything else keeps its colour.
TEST_F(DitherTest, OnlyWholeBlocksAwayFromTheTopAndLeftAreCovered) {
  const Color3 grey{128, 128, 128};  // level 384
  const std::pair<std::int64_t, std::int64_t> sizes[] = {{10, 10}, {9, 9}, {5, 9}, {6, 6}, {12, 7},
                                                         {7, 12},  {8, 5}, {3, 3}, {52, 7}};
  for (const auto& [kind, pattern] :
       {std::pair{kDither1, "K.K.K.K.."}, std::pair{kDither2, ".GG."}}) {
    const std::int64_t n = kind.block;
    for (const auto& [width, height] : sizes) {
      SCOPED_TRACE(testing::Message() << kind.name << " " << width << " x " << height);
      SetPicture(width, height, Uniform(grey));
      ASSERT_TRUE(Run(kind.command));
      const std::int64_t right = n * (width / n) - 1;
      const std::int64_t bottom = n * (height / n) - 1;
      for (std::int64_t y = 1; y <= height; ++y) {
        for (std::int64_t x = 0; x < width; ++x) {
          const bool covered = x >= n && x <= right && y >= n && y <= bottom;
          const Color3 expected = covered ? ColorOfLetter(pattern[(y % n) * n + x % n]) : grey;
          EXPECT_EQ(Pixel(x, y), expected) << "at " << x << "," << y;
        }
      }
    }
  }
}

TEST_F(DitherTest, RunCopiesFirstFlagsModifiedAndKeepsTheScale) {
  for (const DitherKind& kind : {kDither1, kDither2}) {
    SCOPED_TRACE(kind.name);
    const PixelFunction picture = [](std::int64_t x, std::int64_t y) {
      return Color3{static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 30), 7};
    };
    SetPicture(7, 8, picture);
    view.SetScale(4);
    doc.SetModifiedFlag(false);
    const int invalidates = host.InvalidateCount();
    ASSERT_TRUE(Run(kind.command));
    EXPECT_EQ(view.m_nScale, 4);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(host.InvalidateCount(), invalidates);
    EXPECT_EQ(backend().WaitCursorDepth(), 0);
    EXPECT_EQ(PictureOfBlock(backend().PeekClipboardData(CF_DIB)), PictureOf(7, 8, picture));
  }
}

TEST_F(DitherTest, WithoutPictureTheClipboardIsEmptied) {
  for (const UINT command : {ID_DITHER1, ID_DITHER2, ID_ERROR_DIFFUSION}) {
    SCOPED_TRACE(command);
    backend().PutClipboardData(CF_DIB, MakeDib24(2, 2, Uniform(kBlack)));
    const int invalidates = host.InvalidateCount();
    const int waits = backend().WaitCursorBegins();
    ASSERT_TRUE(Run(command));
    EXPECT_EQ(backend().PeekClipboardData(CF_DIB), nullptr);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_hDib, nullptr);
    EXPECT_GT(host.InvalidateCount(), invalidates);
    EXPECT_GT(backend().WaitCursorBegins(), waits);
    EXPECT_EQ(backend().WaitCursorDepth(), 0);
    EXPECT_TRUE(backend().Messages().empty());
  }
}

}  // namespace
}  // namespace qov::test
