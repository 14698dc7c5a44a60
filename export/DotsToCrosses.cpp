#include "export/DotsToCrosses.h"

#include <algorithm>
#include <cstring>

#include "export/DarkLevels.h"
#include "export/DxfNumber.h"
#include "image/DibRows.h"
#include "platform/Progress.h"

namespace qov {
void WriteDotsToCrosses(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H) {
  const CDibRows rows(doc);
  const std::int64_t right = std::min<std::int64_t>(W, rows.Width()) - 1;
  const std::int64_t bottom = std::min<std::int64_t>(H, rows.Height()) - 1;
  CProgressWalk walk(bottom);
  for (std::int64_t y = 1; y <= bottom; ++y) {
    walk.Step(y);
    const std::uint8_t* row = rows.Row(y);
    for (std::int64_t x = 1; x <= right; ++x) {
      x += PixelsNotBelow(kCrossBelow, row + 3 * x, right + 1 - x);
      if (x > right)
        break;
      const int b = row[3 * x];
      if (b >= kCrossBelow)
        continue;
      const int colour = b < kBlackBelow ? kColourForeground : kColourCyan;
      // The cell's lower-left corner is (x, H − y): upper left to lower
      // right, then upper right to lower left.
      const auto left = static_cast<double>(x);
      const auto lower = static_cast<double>(H - y);
      writer.WriteLine(colour, left, lower + 1, left + 1, lower, kDigitsJoin);
      writer.WriteLine(colour, left + 1, lower + 1, left, lower, kDigitsJoin);
    }
  }
  if (right >= 1 && bottom >= 1)
    std::memcpy(doc.m_curColor.data(), rows.At(right, bottom), 3);
}

}  // namespace qov
