#include "raster/Dither.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

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

// Reads the whole block before writing any of it, so blocks are independent
// and their order does not matter.
void DitherBlock(CQOV_V2Doc& doc, std::int64_t left, std::int64_t top, std::int64_t size,
                 std::span<const DitherPattern> patterns) {
  int sum = 0;
  for (std::int64_t y = top; y < top + size; ++y) {
    for (std::int64_t x = left; x < left + size; ++x) {
      doc.LoadPixel(x, y);
      sum = AccumulateBrightness(sum, doc.m_curColor);
    }
  }
  const int level = sum / static_cast<int>(size * size);
  const std::string_view cells = PatternForLevel(patterns, level);
  std::size_t cell = 0;
  for (std::int64_t y = top; y < top + size; ++y) {
    for (std::int64_t x = left; x < left + size; ++x) {
      doc.m_curColor = PatternColor(doc, cells[cell++]);
      doc.StorePixel(x, y);
    }
  }
}

// Block row 0 would start at row 0, which the pixel operations cannot
// address; block column 0 is left out alike.
void DitherPass(CQOV_V2Doc& doc, std::int64_t size, std::span<const DitherPattern> patterns) {
  const std::int64_t blockRows = doc.m_nHeight / size;
  const std::int64_t blockColumns = doc.m_nWidth / size;
  for (std::int64_t k = 1; k <= blockRows - 1; ++k) {
    for (std::int64_t j = 1; j <= blockColumns - 1; ++j) {
      DitherBlock(doc, size * j, size * k, size, patterns);
    }
  }
}

}  // namespace

void Dither1Pass(CQOV_V2Doc& doc) {
  DitherPass(doc, 3, kDither1Patterns);
}

void Dither2Pass(CQOV_V2Doc& doc) {
  DitherPass(doc, 2, kDither2Patterns);
}

}  // namespace qov
