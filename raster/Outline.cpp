#include "raster/Outline.h"

#include <cstdint>
#include <cstring>

#include "image/DibRows.h"

namespace qov {
namespace {

constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kWhite = 255;

// MarkOutlinePixel on one row: a black centre (blue 0) with no white
// neighbour (blue 255) left, right, above or below turns light grey.
void MarkOutlineRow(std::uint8_t* row, std::ptrdiff_t stride, std::int64_t from, std::int64_t to,
                    const Color3& lightGray) {
  const std::uint8_t* above = row + stride;
  const std::uint8_t* below = row - stride;
  for (std::int64_t x = from; x <= to; ++x) {
    std::uint8_t* centre = row + 3 * x;
    if (centre[0] == kBlack && centre[-3] != kWhite && centre[3] != kWhite &&
        above[3 * x] != kWhite && below[3 * x] != kWhite)
      std::memcpy(centre, lightGray.data(), 3);
  }
}

}  // namespace

void OutlinePass(CQOV_V2Doc& doc) {
  const CDibRows rows(doc);
  const std::int64_t width = rows.Width();
  const std::int64_t height = rows.Height();
  // A pixel turned light grey has blue 230, neither 0 nor 255: it no longer
  // passes the centre test and, as a neighbour, protects nothing, exactly as
  // the black it replaced. So marking in place is safe.
  for (std::int64_t y = 2; y <= height - 2; ++y)
    MarkOutlineRow(rows.Row(y), rows.Stride(), 2, width - 2, doc.m_lightGrayColor);
}

}  // namespace qov
