#include "raster/ErrorDiffusion.h"

#include <array>
#include <cstdint>

#include "image/DibRows.h"
#include "platform/Progress.h"
#include "raster/Brightness.h"

namespace qov {
namespace {

constexpr std::uint32_t kWhiteLevel = 765;

// A pixel's corrected level is its level minus the error carried to it; it
// turns white at 383 or more and passes on its output level minus the
// corrected one. The error so always lies in −382…382, 765 values, and each
// step is the error minus the level, brought back into that range by adding
// 765 exactly when the pixel turns white. The error plus 382 is therefore a
// running total of the levels counted down from a start, modulo 765, and a
// pixel is white exactly where that total passes below a multiple of 765 (a
// level is at most 765, so it passes at most one). The chain from pixel to
// pixel is then one subtraction instead of a subtraction, a comparison and a
// choice. Counting a block down from a multiple of 765 above anything it can
// subtract keeps the total unsigned.
constexpr std::uint32_t kBlockStart = kWhiteLevel * kWideRowPixels;

// The carried error plus 382 when the pass starts with no error.
constexpr std::uint32_t kStartRemainder = 382;

struct Block {
  std::array<std::uint32_t, kWideRowPixels> levels;
  std::array<std::uint32_t, kWideRowPixels> totals;
  std::array<std::uint8_t, kWideRowPixels> whites;
};

// Marks the white pixels of `count` with 255, the black ones with 0, and
// returns the running total's remainder after them. The running total is
// the only chain; whether each step passed a multiple of 765 is worked out
// after, from the total before it (its remainder less than the level).
std::uint32_t BlockWhites(Block& block, std::int64_t count, std::uint32_t remainder) {
  std::uint32_t total = kBlockStart + remainder;
  for (std::int64_t i = 0; i < count; ++i) {
    const auto k = static_cast<std::size_t>(i);
    total -= block.levels[k];
    block.totals[k] = total;
  }
  for (std::int64_t i = 0; i < count; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const std::uint32_t before = block.totals[k] + block.levels[k];
    block.whites[k] = static_cast<std::uint8_t>(before % kWhiteLevel < block.levels[k] ? 255 : 0);
  }
  return total % kWhiteLevel;
}

// A pixel's level does not depend on the carried error, so a block's levels
// are computed first, in a loop free of the carried dependency, and painted
// after.
void LevelsOf(Block& block, const std::uint8_t* p, std::int64_t count) {
  for (std::int64_t i = 0; i < count; ++i, p += 3)
    block.levels[static_cast<std::size_t>(i)] =
        static_cast<std::uint32_t>(Brightness(Color3{p[0], p[1], p[2]}));
}

void Paint(const Block& block, std::uint8_t* p, std::int64_t count) {
  for (std::int64_t i = 0; i < count; ++i, p += 3) {
    const std::uint8_t out = block.whites[static_cast<std::size_t>(i)];
    p[0] = out;
    p[1] = out;
    p[2] = out;
  }
}

// One row; returns the remainder after it and leaves in `white` whether its
// last pixel turned white.
QOV_WIDE_ROWS std::uint32_t DiffuseRow(std::uint8_t* p, std::int64_t count, std::uint32_t remainder,
                                       bool& white) {
  Block block;
  std::int64_t i = 0;
  for (; i + kWideRowPixels <= count; i += kWideRowPixels) {
    LevelsOf(block, p + 3 * i, kWideRowPixels);
    remainder = BlockWhites(block, kWideRowPixels, remainder);
    Paint(block, p + 3 * i, kWideRowPixels);
  }
  const std::int64_t rest = count - i;
  LevelsOf(block, p + 3 * i, rest);
  remainder = BlockWhites(block, rest, remainder);
  Paint(block, p + 3 * i, rest);
  const std::int64_t lastInBlock = rest > 0 ? rest - 1 : kWideRowPixels - 1;
  white = block.whites[static_cast<std::size_t>(lastInBlock)] != 0;
  return remainder;
}

}  // namespace

void ErrorDiffusionPass(CQOV_V2Doc& doc) {
  const CDibRows rows(doc);
  const std::int64_t width = rows.Width();
  const std::int64_t height = rows.Height();
  if (width < 2 || height < 2)
    return;
  // The carried error is not reset between rows: the last pixel of a row
  // passes its whole error to the first visited pixel of the next one.
  // Nothing goes downwards, and there is no clamping.
  std::uint32_t remainder = kStartRemainder;
  bool white = false;
  CProgressWalk walk(height);
  for (std::int64_t y = 1; y <= height - 1; ++y) {
    walk.Step(y);
    remainder = DiffuseRow(rows.At(1, y), width - 1, remainder, white);
  }
  doc.m_curColor = white ? doc.m_whiteColor : doc.m_blackColor;
}

}  // namespace qov
