#include "raster/Outline.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/DibRows.h"
#include "platform/Progress.h"

namespace qov {
namespace {

constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kWhite = 255;

// Every loop below goes over whole wide blocks (the rows' buffers are
// rounded up to them), so that the compiler makes each a few wide
// operations.
std::size_t WideBlocks(std::int64_t pixels) {
  return static_cast<std::size_t>((pixels + kWideRowPixels - 1) / kWideRowPixels);
}
constexpr auto kBlock = static_cast<std::size_t>(kWideRowPixels);

// The blue bytes of `count` pixels, one after the other.
QOV_WIDE_ROWS void TakeBlues(const std::uint8_t* __restrict pixels, std::int64_t count,
                             std::uint8_t* __restrict blues) {
  const std::size_t whole = static_cast<std::size_t>(count) / kBlock * kBlock;
  for (std::size_t b = 0; b < whole; b += kBlock)
    for (std::size_t k = b; k < b + kBlock; ++k)
      blues[k] = pixels[3 * k];
  for (std::size_t k = whole; k < static_cast<std::size_t>(count); ++k)
    blues[k] = pixels[3 * k];
}

// MarkOutlinePixel's test for the pixels of a row: a black centre (blue 0)
// with no white neighbour (blue 255) left, right, above or below.
void TestInside(const std::uint8_t* __restrict above, const std::uint8_t* __restrict row,
                const std::uint8_t* __restrict below, std::size_t blocks,
                std::uint8_t* __restrict inside) {
  for (std::size_t b = 0; b < blocks * kBlock; b += kBlock)
    for (std::size_t x = b + 1; x < b + kBlock + 1; ++x)
      inside[x] = static_cast<std::uint8_t>((row[x] == kBlack) & (row[x - 1] != kWhite) &
                                            (row[x + 1] != kWhite) & (above[x] != kWhite) &
                                            (below[x] != kWhite));
}

void PaintPixel(std::uint8_t* pixel, bool inside, Color3 lightGray) {
  pixel[0] = inside ? lightGray[0] : pixel[0];
  pixel[1] = inside ? lightGray[1] : pixel[1];
  pixel[2] = inside ? lightGray[2] : pixel[2];
}

bool AnyInside(const std::uint8_t* inside) {
  std::uint8_t any = 0;
  for (std::size_t k = 0; k < kBlock; ++k)
    any |= inside[k];
  return any != 0;
}

// Pixels `from` to `to` of a row turn light grey where `inside` says so. A
// block with nothing to paint is not written at all: on a drawing, most are
// paper.
QOV_WIDE_ROWS void PaintInside(std::uint8_t* __restrict pixels,
                               const std::uint8_t* __restrict inside, std::int64_t from,
                               std::int64_t to, Color3 lightGray) {
  std::int64_t x = from;
  for (; x + kWideRowPixels - 1 <= to; x += kWideRowPixels) {
    if (!AnyInside(inside + x))
      continue;
    for (std::int64_t k = x; k < x + kWideRowPixels; ++k)
      PaintPixel(pixels + 3 * k, inside[k] != 0, lightGray);
  }
  for (; x <= to; ++x)
    PaintPixel(pixels + 3 * x, inside[x] != 0, lightGray);
}

}  // namespace

// A pixel turned light grey has blue 230, neither 0 nor 255: it no longer
// passes the centre test and, as a neighbour, protects nothing, exactly as
// the black it replaced. So the pixels may be tested in any order, and a
// row's tests can all be made before it is painted.
void OutlinePass(CQOV_V2Doc& doc) {
  const CDibRows rows(doc);
  const std::int64_t width = rows.Width();
  const std::int64_t height = rows.Height();
  if (width < 4 || height < 4)
    return;
  const std::size_t blocks = WideBlocks(width);
  const std::size_t length = (blocks + 1) * kBlock + 2;
  std::array<std::vector<std::uint8_t>, 3> blues;
  for (auto& b : blues)
    b.assign(length, kWhite);
  std::vector<std::uint8_t> inside(length, 0);
  TakeBlues(rows.Row(1), width, blues[0].data());
  TakeBlues(rows.Row(2), width, blues[1].data());
  CProgressWalk walk(height);
  for (std::int64_t y = 2; y <= height - 2; ++y) {
    walk.Step(y);
    auto& above = blues[static_cast<std::size_t>(y - 2) % 3];
    auto& row = blues[static_cast<std::size_t>(y - 1) % 3];
    auto& below = blues[static_cast<std::size_t>(y) % 3];
    TakeBlues(rows.Row(y + 1), width, below.data());
    TestInside(above.data(), row.data(), below.data(), blocks, inside.data());
    PaintInside(rows.Row(y), inside.data(), 2, width - 2, doc.m_lightGrayColor);
  }
}

}  // namespace qov
