#include "export/DotsToLines.h"

#include <algorithm>
#include <cstring>

#include "export/DarkLevels.h"
#include "export/DxfNumber.h"
#include "image/DibRows.h"
#include "platform/Progress.h"

namespace qov {
namespace {

// Reads pixels as LoadPixel does: a read outside the picture leaves the
// colour read before, and the test repeats it.
class PixelReader {
 public:
  // The first read outside the picture gives `before`'s blue.
  PixelReader(const CDibRows& rows, const std::uint8_t* before) : m_rows(rows), m_last(before) {}

  int Blue(std::int64_t x, std::int64_t y) {
    if (m_rows.Contains(x, y))
      m_last = m_rows.At(x, y);
    return m_last[0];
  }
  bool BlueBelow(std::int64_t x, std::int64_t y, int limit) { return Blue(x, y) < limit; }
  // The first x from `x` on, before `end`, that may hold a dot in row y. The
  // pixels passed over would only have been read and found too light, so
  // the last of them is read, as the loop over them would leave it.
  std::int64_t SkipLight(std::int64_t x, std::int64_t y, std::int64_t end) {
    if (!m_rows.Contains(x, y))
      return x;
    const std::int64_t light =
        PixelsNotBelow(kDotBelow, m_rows.At(x, y), std::min(end, m_rows.Width()) - x);
    if (light > 0)
      Blue(x + light - 1, y);
    return x + light;
  }
  const std::uint8_t* Last() const { return m_last; }

 private:
  const CDibRows& m_rows;
  const std::uint8_t* m_last;
};

void ExamineCentre(PixelReader& reader, CDxfWriter& writer, std::int64_t x, std::int64_t y,
                   std::int32_t H) {
  const int b = reader.Blue(x, y);
  if (b >= kDotBelow)
    return;
  const int colour = b < kBlackBelow ? kColourForeground : kColourCyan;
  const auto px = static_cast<double>(x);
  const auto py = static_cast<double>(H - y);
  auto join = [&](double toX, double toY) {
    writer.WriteLine(colour, px, py, toX, toY, kDigitsJoin);
  };

  bool right = false;
  bool down = false;
  bool downRight = false;
  bool downLeft = false;
  if (reader.BlueBelow(x + 1, y, kBlackBelow)) {
    join(px + 1, py);
    right = true;
  }
  if (reader.BlueBelow(x, y + 1, kBlackBelow)) {
    join(px, py - 1);
    down = true;
  }
  // The corner that the right and down joins already draw needs no diagonal.
  if (reader.BlueBelow(x + 1, y + 1, kBlackBelow) && !(right && down)) {
    join(px + 1, py - 1);
    downRight = true;
  }
  if (reader.BlueBelow(x - 1, y + 1, kBlackBelow) && !down) {
    join(px - 1, py - 1);
    downLeft = true;
  }
  int behind = 0;
  behind += reader.BlueBelow(x - 1, y - 1, kDotBelow) ? 1 : 0;
  behind += reader.BlueBelow(x - 1, y, kDotBelow) ? 1 : 0;
  behind += reader.BlueBelow(x, y - 1, kDotBelow) ? 1 : 0;
  if (!right && !down && !downRight && !downLeft && behind == 0) {
    writer.WriteLine(colour, px + 0.25, py - 0.25, px - 0.25, py + 0.25, kDigitsStroke);
  }
}

}  // namespace

void WriteDotsToLines(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H) {
  const CDibRows rows(doc);
  PixelReader reader(rows, doc.m_curColor.data());
  CProgressWalk walk(H);
  for (std::int64_t y = 1; y <= std::int64_t{H} - 2; ++y) {
    walk.Step(y);
    const std::int64_t end = std::int64_t{W} - 1;
    for (std::int64_t x = reader.SkipLight(1, y, end); x < end; x = reader.SkipLight(x + 1, y, end))
      ExamineCentre(reader, writer, x, y, H);
  }
  // m_curColor ends with the last pixel read, as the pixel operations leave it.
  if (reader.Last() != doc.m_curColor.data())
    std::memcpy(doc.m_curColor.data(), reader.Last(), 3);
}

}  // namespace qov
