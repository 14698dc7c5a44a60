#pragma once
// The buffered writer of the DXF drawings: a fixed header, LINE records and
// a fixed trailer, as raw bytes with single line feeds.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "export/DxfNumber.h"

#include "platform/Archive.h"
#include "platform/File.h"

namespace qov {

// Colour numbers of the DXF colour index that the exports use.
inline constexpr int kColourForeground = 7;  // white or black, against the background
inline constexpr int kColourCyan = 4;

// The archive's buffer: the file is written in blocks of this size. Blocks
// of 512 bytes cost a system call each and hold a drawing's throughput well
// below what the disk takes; the bytes written are the same for any size.
inline constexpr std::size_t kDxfBufferSize = 64 * 1024;

// One pixel step in drawing units: the single-precision value nearest to
// 0.34, multiplied in double precision.
inline constexpr float kDxfScale = 0.34f;

class CDxfWriter {
 public:
  // A storing archive of `bufferSize` bytes over `file`, open for writing;
  // the file stays the caller's.
  explicit CDxfWriter(CFile& file, std::size_t bufferSize = kDxfBufferSize);
  // Without a successful Close(), drops what is buffered without writing
  // it; never throws.
  ~CDxfWriter();
  CDxfWriter(const CDxfWriter&) = delete;
  CDxfWriter& operator=(const CDxfWriter&) = delete;

  // The 1300 bytes that open every drawing, up to the ENTITIES section.
  void WriteHeader();
  // One LINE record on layer "0-0" from (x1, y1) to (x2, y2), given in pixel
  // units with the vertical axis already pointing up; each coordinate is
  // multiplied by kDxfScale and written with `digits` significant digits.
  void WriteLine(int colour, double x1, double y1, double x2, double y2, int digits);
  // Closes the ENTITIES section and the file's content; no final line feed.
  void WriteTrailer();
  // Writes out what is buffered; the file stays open. Throws CFileException.
  void Close();
  // Drops what is buffered without writing; for the error path, where a
  // flush would only fail again.
  void Abort() noexcept;

 private:
  // The texts of whole pixel coordinates for one digit count, each kept
  // once it has been formatted (size 0: not yet). The texts are left
  // uninitialized, so that only the pages of the coordinates a picture
  // uses are ever touched.
  struct KeptTexts {
    std::vector<std::uint8_t> sizes;
    std::unique_ptr<DxfNumberBuffer[]> texts;
  };
  // Whole pixel coordinates 0 to 65536 cover every picture the format
  // allows; other values are formatted each time.
  static constexpr std::size_t kKeptCoordinates = 65537;

  void Write(std::string_view text);
  // Appends the text of `pixels` × kDxfScale with `digits` digits at p.
  char* AppendCoordinate(char* p, double pixels, int digits);

  CArchive m_archive;
  // Most coordinates are whole pixels, each written many times: their texts
  // are made once per digit count.
  std::array<KeptTexts, kMaxDxfDigits + 1> m_wholeCoordinates;
};

}  // namespace qov
