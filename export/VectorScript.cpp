#include "export/VectorScript.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>
#include <system_error>

#include "image/DibRows.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/Progress.h"

namespace qov {
namespace {

// 一般 ("general", the class name) is written in code page 932.
constexpr std::string_view kPreamble =
    "NameClass('\x88\xEA\x94\xCA');\n"
    "PenSize(1);\n"
    "PenPat(2);\n"
    "FillPat(1);\n"
    "PenFore(0,0,0);\n"
    "PenBack(65535,65535,65535);\n"
    "FillFore(0,0,0);\n"
    "FillBack(0,0,0);\n";

// Not v × 257: 0 becomes 255 and 255 becomes 65535.
int To16Bit(std::uint8_t v) {
  return v * 256 + 255;
}

// The three lines of one pixel: their fixed text is 65 characters, and the
// seven numbers take at most 20 each. A piece that would not fit is left out
// rather than written past the end.
class LineBuilder {
 public:
  LineBuilder& operator<<(std::string_view text) {
    if (text.size() <= static_cast<std::size_t>(std::end(m_buf) - m_p)) {
      std::memcpy(m_p, text.data(), text.size());
      m_p += text.size();
    }
    return *this;
  }
  LineBuilder& operator<<(std::int64_t n) {
    const std::to_chars_result result = std::to_chars(m_p, std::end(m_buf), n);
    if (result.ec == std::errc())
      m_p = result.ptr;
    return *this;
  }
  void WriteTo(CArchive& ar) const { ar.Write(m_buf, static_cast<std::size_t>(m_p - m_buf)); }

 private:
  char m_buf[65 + 7 * 20];
  char* m_p = m_buf;
};

void WritePixel(CArchive& ar, std::int64_t x, std::int64_t y, std::int64_t H, int r, int g, int b) {
  LineBuilder line;
  line << "PenFore(" << r << "," << g << "," << b << ");\n";
  line << "FillBack(" << r << "," << g << "," << b << ");\n";
  line << "Rect(" << x << "," << (H - y) << "," << (x + 1) << "," << (H - y - 1) << ");\n";
  line.WriteTo(ar);
}

// The least byte at which a pixel with no byte below it is surely left out
// under `limit`; 256 when every pixel is written.
int LowestLeftOutByte(int limit) {
  int v = 0;
  while (v <= 255 && 3 * To16Bit(static_cast<std::uint8_t>(v)) < limit)
    ++v;
  return v;
}

void WritePixels(CArchive& ar, CQOV_V2Doc& doc, int limit) {
  const CDibRows rows(doc);
  const std::int64_t W = rows.Width();
  const std::int64_t H = doc.m_nHeight;
  const std::int64_t bottom = rows.Height() - 1;
  const int leftOut = LowestLeftOutByte(limit);
  CProgressWalk walk(bottom);
  for (std::int64_t y = 1; y <= bottom; ++y) {
    walk.Step(y);
    const std::uint8_t* p = rows.At(1, y);
    for (std::int64_t x = 1; x <= W - 1; ++x, p += 3) {
      if (leftOut <= 255) {
        const std::int64_t light = PixelsNotBelow(static_cast<std::uint8_t>(leftOut), p, W - x);
        x += light;
        p += 3 * light;
        if (x > W - 1)
          break;
      }
      const int b16 = To16Bit(p[0]);
      const int g16 = To16Bit(p[1]);
      const int r16 = To16Bit(p[2]);
      if (r16 + 2 * g16 >= limit)
        continue;
      WritePixel(ar, x, y, H, r16, g16, b16);
    }
  }
  // m_curColor ends with the last pixel read, as the pixel operations leave it.
  if (W >= 2 && bottom >= 1)
    std::memcpy(doc.m_curColor.data(), rows.At(W - 1, bottom), 3);
}

}  // namespace

void SaveVectorScript(CQOV_V2Doc& doc, CFile& file, int colorOption) {
  // On an exception the archive drops its buffer without another write.
  CArchive ar(&file, CArchive::store, kVectorScriptBufferSize);
  const int limit = colorOption != 0 ? kLimitNoNearWhite : kLimitAllColours;
  doc.UpdateImageSize();
  ar.Write(kPreamble.data(), kPreamble.size());
  WritePixels(ar, doc, limit);
  ar.Close();
}

}  // namespace qov
