#include "export/DotsToLines.h"

#include "export/DxfNumber.h"

namespace qov {
namespace {

constexpr int kDotBelow = 81;    // a centre, or a neighbour behind it
constexpr int kBlackBelow = 60;  // a neighbour a centre may be joined to

// Reads the pixel and tests the blue byte of m_curColor: outside the
// picture the read leaves the previous colour, and the test repeats it.
bool BlueBelow(CQOV_V2Doc& doc, std::int64_t x, std::int64_t y, int limit) {
  doc.LoadPixel(x, y);
  return doc.m_curColor[0] < limit;
}

void ExamineCentre(CQOV_V2Doc& doc, CDxfWriter& writer, std::int64_t x, std::int64_t y,
                   std::int32_t H) {
  doc.LoadPixel(x, y);
  const int b = doc.m_curColor[0];
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
  if (BlueBelow(doc, x + 1, y, kBlackBelow)) {
    join(px + 1, py);
    right = true;
  }
  if (BlueBelow(doc, x, y + 1, kBlackBelow)) {
    join(px, py - 1);
    down = true;
  }
  // The corner that the right and down joins already draw needs no diagonal.
  if (BlueBelow(doc, x + 1, y + 1, kBlackBelow) && !(right && down)) {
    join(px + 1, py - 1);
    downRight = true;
  }
  if (BlueBelow(doc, x - 1, y + 1, kBlackBelow) && !down) {
    join(px - 1, py - 1);
    downLeft = true;
  }
  int behind = 0;
  behind += BlueBelow(doc, x - 1, y - 1, kDotBelow) ? 1 : 0;
  behind += BlueBelow(doc, x - 1, y, kDotBelow) ? 1 : 0;
  behind += BlueBelow(doc, x, y - 1, kDotBelow) ? 1 : 0;
  if (!right && !down && !downRight && !downLeft && behind == 0) {
    writer.WriteLine(colour, px + 0.25, py - 0.25, px - 0.25, py + 0.25, kDigitsStroke);
  }
}

}  // namespace

void WriteDotsToLines(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H) {
  for (std::int64_t y = 1; y <= std::int64_t{H} - 2; ++y) {
    for (std::int64_t x = 1; x <= std::int64_t{W} - 2; ++x)
      ExamineCentre(doc, writer, x, y, H);
  }
}

}  // namespace qov
