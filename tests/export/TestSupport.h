#pragma once
// What the export tests share, on top of the view tests' pictures and
// fixture: temporary folders, the written files, and the DXF records.

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "export/ExportFrame.h"
#include "tests/support/TempDir.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {

// Picture rows drawn in a raw string, one row per line, blanks around them
// ignored (see FromRows for the letters).
std::vector<std::string> Art(std::string_view picture);

// A document owning a picture made from text rows (see FromRows) or from a
// function of the pixel.
std::unique_ptr<CQOV_V2Doc> MakeDoc(const std::vector<std::string>& rows);
std::unique_ptr<CQOV_V2Doc> MakeDoc(std::int64_t width, std::int64_t height,
                                    const PixelFunction& pixel);

// The file that an export's scan writes for `doc`: header, the scan's
// records, trailer, as the export frame writes it without its dialog.
std::string WriteDxf(CQOV_V2Doc& doc, DxfScan scan);
// The VectorScript file written for `doc` with `colorOption`.
std::string WriteVectorScript(CQOV_V2Doc& doc, int colorOption);

// The fixed 1300 bytes that open every drawing, from the test data.
const std::string& ExpectedDxfHeader();
inline constexpr const char* kDxfTrailer = "ENDSEC\n0\nEOF";

// One LINE record as written: colour number and the four coordinate texts.
struct DxfLine {
  int colour;
  std::string x1, y1, x2, y2;
  friend bool operator==(const DxfLine&, const DxfLine&) = default;
};
void PrintTo(const DxfLine& line, std::ostream* os);

// A record expected from pixel-unit coordinates, formatted as the writer
// must: each coordinate times the single-precision 0.34.
DxfLine Segment(int colour, double x1, double y1, double x2, double y2, int digits);

// The records between the fixed header and the trailer; a test failure
// when the file does not have that frame or a record is malformed.
std::vector<DxfLine> ParseDxf(const std::string& bytes);

}  // namespace qov::test
