#include "export/VectorScript.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/Archive.h"
#include "platform/File.h"

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

class LineBuilder {
 public:
  LineBuilder& operator<<(std::string_view text) {
    std::memcpy(m_p, text.data(), text.size());
    m_p += text.size();
    return *this;
  }
  LineBuilder& operator<<(std::int64_t n) {
    m_p = std::to_chars(m_p, m_p + 20, n).ptr;
    return *this;
  }
  void WriteTo(CArchive& ar) const { ar.Write(m_buf, static_cast<std::size_t>(m_p - m_buf)); }

 private:
  char m_buf[160];  // room for the three lines of one pixel
  char* m_p = m_buf;
};

void WritePixel(CArchive& ar, std::int64_t x, std::int64_t y, std::int64_t H, int r, int g, int b) {
  LineBuilder line;
  line << "PenFore(" << r << "," << g << "," << b << ");\n";
  line << "FillBack(" << r << "," << g << "," << b << ");\n";
  line << "Rect(" << x << "," << (H - y) << "," << (x + 1) << "," << (H - y - 1) << ");\n";
  line.WriteTo(ar);
}

}  // namespace

void SaveVectorScript(CQOV_V2Doc& doc, const std::string& path, int colorOption) {
  // On an exception the archive drops its buffer and the file closes
  // without another write.
  CFile file(path, CFile::modeCreate | CFile::modeWrite);
  CArchive ar(&file, CArchive::store);
  const int limit = colorOption != 0 ? kLimitNoNearWhite : kLimitAllColours;
  doc.UpdateImageSize();
  const std::int64_t W = doc.m_nWidth;
  const std::int64_t H = doc.m_nHeight;
  ar.Write(kPreamble.data(), kPreamble.size());
  for (std::int64_t y = 1; y <= H - 1; ++y) {
    for (std::int64_t x = 1; x <= W - 1; ++x) {
      doc.LoadPixel(x, y);
      const int b16 = To16Bit(doc.m_curColor[0]);
      const int g16 = To16Bit(doc.m_curColor[1]);
      const int r16 = To16Bit(doc.m_curColor[2]);
      if (r16 + 2 * g16 >= limit)
        continue;
      WritePixel(ar, x, y, H, r16, g16, b16);
    }
  }
  ar.Close();
  file.Close();
}

}  // namespace qov
