#include "export/DxfWriter.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

#include "export/DxfNumber.h"

namespace qov {
namespace {

// The pieces split group codes from their values at arbitrary places; only
// their concatenation means anything. Leading spaces on some group codes and
// values are part of the format as other programs have always read it.
// 実線 ("solid line") is written in code page 932.
constexpr std::array<std::string_view, 18> kHeaderPieces{
    "0\nSECTION\n2\nHEADER\n9\n$EXTMIN\n10\n0\n20\n0\n9\n$EXTMAX\n",
    "10\n297\n20\n210\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n2\n",
    "LTYPE\n70\n9\n0\nLTYPE\n2\nCONTINUOUS\n70\n64\n3\n\x8E\xC0\x90\xFC"
    "\n72\n65\n73\n0\n40\n0.0\n",
    "0\nLTYPE\n2\nDASHED1\n70\n64\n3\n--  --  --  --  --  --  --  --\n72\n65\n73\n2\n",
    "40\n2.5\n49\n1.25\n49\n-1.25\n0\nLTYPE\n2\nDASHED2\n70\n64\n3\n----    ----    ----    ----\n",
    " 72\n65\n73\n2\n40\n5.0\n49\n2.5\n49\n-2.5\n0\nLTYPE\n2\nDASHED3\n70\n64\n3\n",
    "------  ------  ------  ------\n  72\n65\n73\n2\n40\n5.0\n49\n3.75\n49\n-1.25\n0\nLTYPE\n",
    "2\nCENTER1\n70\n64\n3\n----- - ----- - ----- - ----- -\n 72\n65\n73\n4\n40\n10.0\n49\n6.25\n",
    "49\n-1.25\n49\n1.25\n49\n-1.25\n0\nLTYPE\n2\nCENTER2\n70\n64\n3\n----------  --  ----------  "
    "--\n",
    "72\n65\n73\n4\n40\n20.0\n49\n12.5\n49\n-2.5\n49\n2.5\n49\n-2.5\n0\nLTYPE\n2\nPHANTOM1\n70\n",
    "64\n3\n--- - - --- - - --- - - --- - -\n 72\n65\n73\n6\n40\n10.0\n49\n3.25\n49\n-1.25\n",
    "49\n1.25\n49\n-1.25\n49\n1.25\n49\n-1.25\n0\nLTYPE\n2\nPHANTOM2\n70\n64\n3\n--------  -  -  "
    "--------  -  -  \n",
    "72\n65\n73\n6\n40\n20.0\n49\n10.0\n49\n-2.5\n49\n1.25\n49\n-2.5\n49\n1.25\n49\n-2.5\n0\n",
    "LTYPE\n2\nDOT\n70\n64\n3\n-   -   -   -   -   -   -   -   "
    "\n72\n65\n73\n2\n40\n2.5\n49\n0.625\n",
    "49\n-1.875\n0\nENDTAB\n0\nTABLE\n2\nSTYLE\n70\n1\n0\nSTYLE\n2\nSTANDARD\n 70\n 64\n 40\n0.0\n",
    " 41\n1.0\n 42\n0.0\n 50\n0.0\n 71\n0\n  3\nTXT\n  4\nBIGFONT\n  0\nENDTAB\n  0\nTABLE\n",
    "2\nLAYER\n 70\n 2\n  0\nLAYER\n  2\n0-0\n 70\n   64\n 62\n 7\n  6\nCONTINUOUS\n  0\nLAYER\n",
    " 2\nADD_LINE\n 70\n 64\n "
    "62\n7\n6\nCONTINUOUS\n0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n  "
    "0\n",
};

constexpr std::string_view kTrailer = "ENDSEC\n0\nEOF";

// The record's last line, "0", is the group code whose value is the next
// record's "LINE" or the trailer's "ENDSEC".
constexpr std::string_view kLinePrefix = "LINE\n8\n0-0\n6\nCONTINUOUS\n62\n";
constexpr std::array<std::string_view, 4> kCoordinateCodes{"\n10\n", "\n20\n", "\n11\n", "\n21\n"};
constexpr std::string_view kLineEnd = "\n0\n";
// Room for any int in decimal: a sign and ten digits.
constexpr std::size_t kIntChars = 11;

char* Append(char* p, std::string_view text) {
  std::memcpy(p, text.data(), text.size());
  return p + text.size();
}

}  // namespace

CDxfWriter::CDxfWriter(CFile& file, std::size_t bufferSize)
    : m_archive(&file, CArchive::store, bufferSize) {}

CDxfWriter::~CDxfWriter() {
  Abort();
}

void CDxfWriter::Write(std::string_view text) {
  m_archive.Write(text.data(), text.size());
}

void CDxfWriter::WriteHeader() {
  for (std::string_view piece : kHeaderPieces)
    Write(piece);
}

void CDxfWriter::WriteLine(int colour, double x1, double y1, double x2, double y2, int digits) {
  const std::array<double, 4> values{x1, y1, x2, y2};
  // The whole record goes to the archive at once: prefix, colour number,
  // four coordinates with their group codes, end.
  char record[kLinePrefix.size() + kIntChars + 4 * (4 + kDxfNumberBufferSize) + kLineEnd.size()];
  char* p = Append(record, kLinePrefix);
  const std::to_chars_result colourText = std::to_chars(p, p + kIntChars, colour);
  if (colourText.ec == std::errc())
    p = colourText.ptr;
  for (std::size_t i = 0; i < values.size(); ++i) {
    p = Append(p, kCoordinateCodes[i]);
    p = AppendCoordinate(p, values[i], digits);
  }
  p = Append(p, kLineEnd);
  m_archive.Write(record, static_cast<std::size_t>(p - record));
}

char* CDxfWriter::AppendCoordinate(char* p, double pixels, int digits) {
  const double value = pixels * static_cast<double>(kDxfScale);
  const bool keepable = digits >= 1 && digits <= kMaxDxfDigits && pixels >= 0 &&
                        pixels < static_cast<double>(kKeptCoordinates) &&
                        pixels == std::floor(pixels);
  if (!keepable)
    return p + FormatDxfNumber(value, digits, p);
  KeptTexts& kept = m_wholeCoordinates[static_cast<std::size_t>(digits)];
  if (kept.sizes.empty()) {
    kept.sizes.assign(kKeptCoordinates, 0);
    kept.texts = std::make_unique_for_overwrite<DxfNumberBuffer[]>(kKeptCoordinates);
  }
  const auto index = static_cast<std::size_t>(pixels);
  std::uint8_t& size = kept.sizes[index];
  DxfNumberBuffer& text = kept.texts[index];
  if (size == 0)
    size = static_cast<std::uint8_t>(FormatDxfNumber(value, digits, text));
  std::memcpy(p, text.data(), size);
  return p + size;
}

void CDxfWriter::WriteTrailer() {
  Write(kTrailer);
}

void CDxfWriter::Close() {
  m_archive.Close();
}

void CDxfWriter::Abort() noexcept {
  m_archive.Abort();
}

}  // namespace qov
