#include "export/DotsToCrosses.h"

#include "export/DxfNumber.h"

namespace qov {

void WriteDotsToCrosses(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H) {
  for (std::int64_t y = 1; y <= std::int64_t{H} - 1; ++y) {
    for (std::int64_t x = 1; x <= std::int64_t{W} - 1; ++x) {
      doc.LoadPixel(x, y);
      const int b = doc.m_curColor[0];
      if (b >= 100)
        continue;
      const int colour = b < 60 ? kColourForeground : kColourCyan;
      // The cell's lower-left corner is (x, H − y): upper left to lower
      // right, then upper right to lower left.
      const auto left = static_cast<double>(x);
      const auto bottom = static_cast<double>(H - y);
      writer.WriteLine(colour, left, bottom + 1, left + 1, bottom, kDigitsJoin);
      writer.WriteLine(colour, left + 1, bottom + 1, left, bottom, kDigitsJoin);
    }
  }
}

}  // namespace qov
