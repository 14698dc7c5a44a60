// Every pass with row routines against its rule applied pixel by pixel or
// block by block, on random pictures whose widths fall on both sides of
// what the row routines take at once: 64 pixels, 16 dither blocks. Built
// once for each form of the row routines (raster/CMakeLists.txt); a form
// the processor lacks is skipped.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <span>
#include <string>

#include "image/QOV_V2Doc.h"
#include "raster/Brightness.h"
#include "raster/Dither.h"
#include "raster/ErrorDiffusion.h"
#include "raster/Outline.h"
#include "raster/Threshold.h"
#include "tests/raster/DitherLevels.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

using DocEdit = std::function<void(CQOV_V2Doc&)>;
using PictureEdit = std::function<void(Picture&)>;

struct PassCase {
  const char* name;
  DocEdit pass;
  DocEdit rule;
  const char* letters;  // the pixels drawn from these; any colour when null
};

// `visit(x, y)` over x from `border` to W − 1 − `last`, and y alike: the
// pixel operations' range from row 1 down, less the border a pass leaves.
void VisitRange(const CQOV_V2Doc& doc, std::int64_t border, std::int64_t last,
                const std::function<void(std::int64_t, std::int64_t)>& visit) {
  for (std::int64_t y = border; y <= doc.m_nHeight - 1 - last; ++y) {
    for (std::int64_t x = border; x <= doc.m_nWidth - 1 - last; ++x)
      visit(x, y);
  }
}

DocEdit OnPicture(PictureEdit edit) {
  return [edit = std::move(edit)](CQOV_V2Doc& doc) {
    Picture picture = PictureOfBlock(doc.m_hDib);
    edit(picture);
    doc.ReplaceDib(BlockOf(picture));
  };
}

// Document row y is row y − 1 of a picture.
Bgr& At(Picture& picture, std::int64_t x, std::int64_t y) {
  return picture.At(x, y - 1);
}

// Each whole n × n block from row and column n on gets the pattern of its
// level: its brightness summed top row first, left to right, over n².
PictureEdit DitherRule(std::int64_t n, std::span<const LevelCase> levels) {
  return [n, levels](Picture& picture) {
    for (std::int64_t top = n; top + n <= picture.height; top += n) {
      for (std::int64_t left = n; left + n <= picture.width; left += n) {
        int sum = 0;
        for (std::int64_t i = 0; i < n * n; ++i)
          sum = AccumulateBrightness(sum, At(picture, left + i % n, top + i / n));
        const auto above = [](int level, const LevelCase& c) { return level < c.level; };
        const char* pattern =
            std::prev(std::upper_bound(levels.begin(), levels.end(), sum / (n * n), above))
                ->pattern;
        for (std::int64_t i = 0; i < n * n; ++i)
          At(picture, left + i % n, top + i / n) = ColorOfLetter(pattern[i]);
      }
    }
  };
}

// The error of each visited pixel carried to the next, across row ends.
void ErrorDiffusionRule(Picture& picture) {
  int error = 0;
  for (std::int64_t y = 1; y <= picture.height - 1; ++y) {
    for (std::int64_t x = 1; x < picture.width; ++x) {
      const int corrected = Brightness(At(picture, x, y)) - error;
      At(picture, x, y) = corrected >= 383 ? kWhite : kBlack;
      error = (corrected >= 383 ? 765 : 0) - corrected;
    }
  }
}

DocEdit ThresholdRule(int percent) {
  return [percent](CQOV_V2Doc& doc) {
    VisitRange(doc, 1, 0,
               [&](std::int64_t x, std::int64_t y) { doc.ThresholdPixel(x, y, percent); });
  };
}

const PassCase kPassCases[] = {
    {"threshold_37", [](CQOV_V2Doc& doc) { ThresholdPass(doc, 37); }, ThresholdRule(37), nullptr},
    {"threshold_50", [](CQOV_V2Doc& doc) { ThresholdPass(doc, 50); }, ThresholdRule(50), nullptr},
    {"outline", OutlinePass,
     [](CQOV_V2Doc& doc) {
       VisitRange(doc, 2, 1, [&](std::int64_t x, std::int64_t y) { doc.MarkOutlinePixel(x, y); });
     },
     "KKKK.G"},
    {"dither1", Dither1Pass, OnPicture(DitherRule(3, kDither1Levels)), nullptr},
    {"dither2", Dither2Pass, OnPicture(DitherRule(2, kDither2Levels)), nullptr},
    {"error_diffusion", ErrorDiffusionPass, OnPicture(ErrorDiffusionRule), nullptr},
};

// Around 64 pixels and its multiples, and around 16 blocks of 3 and of 2
// from column 3 and 2 on (the passes start at column 1, 2 or n).
const std::int64_t kWidths[] = {1,  2,  5,  34,  35,  36,  51,  52,   54,  63,
                                64, 65, 66, 127, 128, 129, 130, 1025, 1100};
constexpr std::int64_t kHeight = 10;

class RowFormTest : public ::testing::TestWithParam<PassCase> {
 protected:
  void SetUp() override {
#if defined(QOV_ROW_FORM_CPU)
    if (!__builtin_cpu_supports(QOV_ROW_FORM_CPU))
      GTEST_SKIP() << "this processor has no " << QOV_ROW_FORM_CPU;
#endif
  }
};

Picture RandomPicture(std::int64_t width, const char* letters, std::mt19937& random) {
  std::uniform_int_distribution<int> byte(0, 255);
  return MakePicture(width, kHeight, [&](std::int64_t, std::int64_t) {
    if (letters != nullptr)
      return ColorOfLetter(letters[random() % std::char_traits<char>::length(letters)]);
    return Bgr{static_cast<std::uint8_t>(byte(random)), static_cast<std::uint8_t>(byte(random)),
               static_cast<std::uint8_t>(byte(random))};
  });
}

TEST_P(RowFormTest, PassGivesWhatItsRuleGivesAtEveryWidth) {
  const PassCase& c = GetParam();
  std::mt19937 random(11);
  for (const std::int64_t width : kWidths) {
    SCOPED_TRACE(testing::Message() << "width " << width);
    const Picture before = RandomPicture(width, c.letters, random);
    CQOV_V2Doc doc, expected;
    for (CQOV_V2Doc* d : {&doc, &expected}) {
      d->ReplaceDib(BlockOf(before));
      d->UpdateImageSize();
    }
    c.pass(doc);
    c.rule(expected);
    EXPECT_TRUE(SamePicture(PictureOfBlock(doc.m_hDib), PictureOfBlock(expected.m_hDib)));
  }
}

INSTANTIATE_TEST_SUITE_P(Passes, RowFormTest, ::testing::ValuesIn(kPassCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qov::test
