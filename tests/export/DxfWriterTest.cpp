#include <gtest/gtest.h>

#include <algorithm>

#include "export/DxfNumber.h"
#include "export/DxfWriter.h"
#include "tests/export/TestSupport.h"

namespace qov::test {
namespace {

constexpr unsigned kCreate = CFile::modeCreate | CFile::modeWrite;

TEST(DxfWriter, HeaderAndTrailerAreTheFixedBytes) {
  TempDir dir;
  const std::string path = dir.File("empty.dxf");
  CFile file(path, kCreate);
  CDxfWriter writer(file);
  writer.WriteHeader();
  writer.WriteTrailer();
  writer.Close();
  const std::string bytes = ReadFileBytes(path);
  const std::string& header = ExpectedDxfHeader();
  ASSERT_EQ(header.size(), 1300u);
  EXPECT_EQ(std::count(header.begin(), header.end(), '\n'), 275);
  EXPECT_NE(header.find("\n3\n\x8E\xC0\x90\xFC\n72\n"), std::string::npos);
  EXPECT_EQ(bytes, header + "ENDSEC\n0\nEOF");
  EXPECT_EQ(bytes.find('\r'), std::string::npos);
}

TEST(DxfWriter, LineRecordScalesByTheSinglePrecisionFactor) {
  TempDir dir;
  const std::string path = dir.File("lines.dxf");
  CFile file(path, kCreate);
  CDxfWriter writer(file);
  writer.WriteLine(kColourForeground, 1.25, 0, 0.75, 50, kDigitsStroke);
  writer.WriteLine(kColourCyan, 2, 8, 3, 7, kDigitsJoin);
  writer.Close();
  EXPECT_EQ(ReadFileBytes(path),
            "LINE\n8\n0-0\n6\nCONTINUOUS\n62\n7\n10\n0.4250000045\n20\n0.\n11\n0.2550000027\n"
            "21\n17.00000018\n0\n"
            "LINE\n8\n0-0\n6\nCONTINUOUS\n62\n4\n10\n0.68\n20\n2.72\n11\n1.02\n21\n2.38\n0\n");
}

TEST(DxfWriter, ManyRecordsPassThroughTheBufferUnchanged) {
  TempDir dir;
  const std::string path = dir.File("many.dxf");
  std::vector<DxfLine> expected;
  {
    CFile file(path, kCreate);
    CDxfWriter writer(file);
    writer.WriteHeader();
    for (int i = 0; i < 3000; ++i) {
      const double x = i % 97, y = i / 97;
      writer.WriteLine(kColourForeground, x, y, x + 0.25, y - 0.25, kDigitsStroke);
      expected.push_back(Segment(7, x, y, x + 0.25, y - 0.25, kDigitsStroke));
    }
    // Whole coordinates come again at two digit counts, up to the last one
    // whose text the writer keeps and past it.
    for (const double v : {0.0, 1.0, 65536.0, 65537.0, 1.0, 65536.0, 65537.0}) {
      for (const int digits : {kDigitsRun, kDigitsJoin}) {
        writer.WriteLine(kColourCyan, v, v + 1, 65536 - v, 3, digits);
        expected.push_back(Segment(4, v, v + 1, 65536 - v, 3, digits));
      }
    }
    writer.WriteTrailer();
    writer.Close();
  }
  EXPECT_EQ(ParseDxf(ReadFileBytes(path)), expected);
}

TEST(DxfWriter, WriterLeftWithoutCloseDropsItsBuffer) {
  TempDir dir;
  const std::string path = dir.File("dropped.dxf");
  {
    CFile file(path, kCreate);
    CDxfWriter writer(file);
    writer.WriteLine(kColourForeground, 1, 1, 2, 2, kDigitsJoin);
  }
  EXPECT_EQ(ReadFileBytes(path), "");
}

TEST(DxfWriter, FullDiskThrowsAndLeavesWithoutAnotherWrite) {
  auto writeAll = [] {
    CFile file("/dev/full", kCreate);
    CDxfWriter writer(file);
    writer.WriteHeader();
    writer.WriteTrailer();
    writer.Close();
  };
  EXPECT_THROW(writeAll(), CFileException);
  // The writer's end after a failure neither throws nor writes.
  CFile file("/dev/full", kCreate);
  CDxfWriter writer(file);
  writer.WriteLine(kColourForeground, 1, 1, 2, 2, kDigitsJoin);
  EXPECT_NO_THROW(writer.Abort());
  EXPECT_NO_THROW(writer.Abort());
}

}  // namespace
}  // namespace qov::test
