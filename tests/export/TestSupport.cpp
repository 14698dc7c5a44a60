#include "tests/export/TestSupport.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "export/DxfNumber.h"
#include "export/DxfWriter.h"
#include "export/VectorScript.h"

namespace qov::test {

std::vector<std::string> Art(std::string_view picture) {
  std::vector<std::string> rows;
  std::istringstream in{std::string(picture)};
  for (std::string line; std::getline(in, line);) {
    const std::size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos)
      rows.push_back(line.substr(first, line.find(' ', first) - first));
  }
  return rows;
}

std::unique_ptr<CQOV_V2Doc> MakeDoc(const std::vector<std::string>& rows) {
  return MakeDoc(static_cast<std::int64_t>(rows.at(0).size()),
                 static_cast<std::int64_t>(rows.size()), FromRows(rows));
}

std::unique_ptr<CQOV_V2Doc> MakeDoc(std::int64_t width, std::int64_t height,
                                    const PixelFunction& pixel) {
  auto doc = std::make_unique<CQOV_V2Doc>();
  doc->ReplaceDib(MakeDib24(width, height, pixel));
  return doc;
}

std::string WriteDxf(CQOV_V2Doc& doc, DxfScan scan) {
  TempDir dir;
  const std::string path = dir.File("out.dxf");
  {
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CDxfWriter writer(file);
    writer.WriteHeader();
    doc.UpdateImageSize();
    scan(doc, writer, doc.m_nWidth, doc.m_nHeight);
    writer.WriteTrailer();
    writer.Close();
  }
  return ReadFileBytes(path);
}

std::string WriteVectorScript(CQOV_V2Doc& doc, int colorOption) {
  TempDir dir;
  const std::string path = dir.File("out.txt");
  {
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    SaveVectorScript(doc, file, colorOption);
  }
  return ReadFileBytes(path);
}

const std::string& ExpectedDxfHeader() {
  static const std::string header = ReadFileBytes(QOV_TEST_DATA_DIR "/export/dxf-header.bin");
  return header;
}

void PrintTo(const DxfLine& line, std::ostream* os) {
  *os << "{" << line.colour << ": " << line.x1 << ", " << line.y1 << " -> " << line.x2 << ", "
      << line.y2 << "}";
}

DxfLine Segment(int colour, double x1, double y1, double x2, double y2, int digits) {
  const auto s = static_cast<double>(0.34f);
  return {colour, FormatDxfNumber(x1 * s, digits), FormatDxfNumber(y1 * s, digits),
          FormatDxfNumber(x2 * s, digits), FormatDxfNumber(y2 * s, digits)};
}

std::vector<DxfLine> ParseDxf(const std::string& bytes) {
  const std::string& header = ExpectedDxfHeader();
  const std::string trailer = kDxfTrailer;
  std::vector<DxfLine> lines;
  if (bytes.size() < header.size() + trailer.size() || bytes.compare(0, header.size(), header) ||
      bytes.compare(bytes.size() - trailer.size(), trailer.size(), trailer)) {
    ADD_FAILURE() << "not header + records + trailer (" << bytes.size() << " bytes)";
    return lines;
  }
  std::istringstream body(
      bytes.substr(header.size(), bytes.size() - header.size() - trailer.size()));
  std::vector<std::string> v;
  for (std::string l; std::getline(body, l);)
    v.push_back(l);
  if (v.size() % 16 != 0) {
    ADD_FAILURE() << v.size() << " lines do not make whole records";
    return lines;
  }
  const std::vector<std::string> frame{"LINE", "8", "0-0", "6", "CONTINUOUS", "62"};
  for (std::size_t i = 0; i < v.size(); i += 16) {
    for (std::size_t k = 0; k < frame.size(); ++k)
      EXPECT_EQ(v[i + k], frame[k]);
    EXPECT_EQ(v[i + 7], "10");
    EXPECT_EQ(v[i + 9], "20");
    EXPECT_EQ(v[i + 11], "11");
    EXPECT_EQ(v[i + 13], "21");
    EXPECT_EQ(v[i + 15], "0");
    lines.push_back({std::stoi(v[i + 6]), v[i + 8], v[i + 10], v[i + 12], v[i + 14]});
  }
  return lines;
}

}  // namespace qov::test
