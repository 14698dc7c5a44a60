#include "raster/Dither.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "image/DibRows.h"
#include "raster/Brightness.h"

namespace qov {
namespace {

// A pattern for the levels up to `maxLevel`: one letter per pixel in the
// order the block is read and painted (top row left to right, then the next
// rows). K black, G dark grey, W white.
struct DitherPattern {
  int maxLevel;
  std::string_view cells;
};

// There are no levels with 5 or 7 black pixels: the band 255 to 424 is twice
// as wide as its neighbours.
constexpr std::array<DitherPattern, 8> kDither1Patterns{{
    {85,
     "KKK"
     "KKK"
     "KKK"},
    {169,
     "KKK"
     "KKK"
     "KKW"},
    {254,
     "KKK"
     "KKW"
     "KWW"},
    {424,
     "KWK"
     "WKW"
     "KWW"},
    {509,
     "KKW"
     "KWW"
     "WWW"},
    {594,
     "WKW"
     "KWW"
     "WWW"},
    {679,
     "KWW"
     "WWW"
     "WWW"},
    {765,
     "WWW"
     "WWW"
     "WWW"},
}};

constexpr std::array<DitherPattern, 8> kDither2Patterns{{
    {60,
     "KK"
     "KK"},
    {191,
     "KK"
     "KW"},
    {251,
     "GG"
     "GW"},
    {382,
     "WK"
     "KW"},
    {442,
     "WG"
     "GW"},
    {573,
     "KW"
     "WW"},
    {633,
     "GW"
     "WW"},
    {765,
     "WW"
     "WW"},
}};

const Color3& PatternColor(const CQOV_V2Doc& doc, char cell) {
  switch (cell) {
    case 'K':
      return doc.m_blackColor;
    case 'G':
      return doc.m_darkGrayColor;
    default:
      return doc.m_whiteColor;
  }
}

std::string_view PatternForLevel(std::span<const DitherPattern> patterns, int level) {
  for (const DitherPattern& pattern : patterns) {
    if (level <= pattern.maxLevel)
      return pattern.cells;
  }
  return patterns.back().cells;
}

// One row of blocks: every block's brightness summed in its own order (its
// rows top to bottom, each left to right), then every block painted. Blocks
// do not overlap and each is read whole before it is written, so reading
// the whole row of blocks first changes nothing. Returns the last colour
// painted.
Color3 DitherBlockRow(const CQOV_V2Doc& doc, const CDibRows& rows, std::int64_t top,
                      std::int64_t size, std::span<const DitherPattern> patterns,
                      std::vector<int>& sums) {
  std::fill(sums.begin(), sums.end(), 0);
  for (std::int64_t dy = 0; dy < size; ++dy) {
    const std::uint8_t* p = rows.At(size, top + dy);
    for (int& sum : sums) {
      for (std::int64_t dx = 0; dx < size; ++dx, p += 3)
        sum = AccumulateBrightness(sum, Color3{p[0], p[1], p[2]});
    }
  }
  Color3 last{};
  const int cellsPerBlock = static_cast<int>(size * size);
  for (std::int64_t dy = 0; dy < size; ++dy) {
    std::uint8_t* p = rows.At(size, top + dy);
    for (const int sum : sums) {
      const std::string_view cells = PatternForLevel(patterns, sum / cellsPerBlock);
      for (std::int64_t dx = 0; dx < size; ++dx, p += 3) {
        last = PatternColor(doc, cells[static_cast<std::size_t>(dy * size + dx)]);
        std::memcpy(p, last.data(), 3);
      }
    }
  }
  return last;
}

// Block row 0 would start at row 0, which the pixel operations cannot
// address; block column 0 is left out alike.
void DitherPass(CQOV_V2Doc& doc, std::int64_t size, std::span<const DitherPattern> patterns) {
  const CDibRows rows(doc);
  const std::int64_t blockRows = rows.Height() / size;
  const std::int64_t blockColumns = rows.Width() / size;
  if (blockRows < 2 || blockColumns < 2)
    return;
  std::vector<int> sums(static_cast<std::size_t>(blockColumns - 1));
  for (std::int64_t k = 1; k <= blockRows - 1; ++k)
    doc.m_curColor = DitherBlockRow(doc, rows, size * k, size, patterns, sums);
}

}  // namespace

void Dither1Pass(CQOV_V2Doc& doc) {
  DitherPass(doc, 3, kDither1Patterns);
}

void Dither2Pass(CQOV_V2Doc& doc) {
  DitherPass(doc, 2, kDither2Patterns);
}

}  // namespace qov
