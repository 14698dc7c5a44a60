// Every picture in tests/data/import (made by its make-pictures.py: each
// colour type, depth, compression and orientation, truncated and damaged
// files, a two-page TIFF) reads to the pixels its maker expects, or is
// refused for the reason its table gives; and to the resolution its other
// table gives.

#include <sys/resource.h>

#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "image/DibResolution.h"
#include "image/MemoryBudget.h"
#include "image/PictureFile.h"
#include "image/QOV_V2Doc.h"
#include "tests/image/ImageTestSupport.h"

namespace qov::test {
namespace {

const std::string kImportDir = std::string(QOV_TEST_DATA_DIR) + "/import/";

struct ImportCase {
  std::string file;
  int page = 1;
  std::string tolerance;  // "-" for a refusal
  std::string outcome;    // the expected pixels' file, or the reason
};

std::vector<ImportCase> LoadCases() {
  std::ifstream table(kImportDir + "cases.txt");
  std::vector<ImportCase> cases;
  ImportCase c;
  while (table >> c.file >> c.page >> c.tolerance >> c.outcome)
    cases.push_back(c);
  return cases;
}

// "W H\n", then red, green, blue per pixel, rows from the top.
Picture ReadExpected(const std::string& name) {
  std::ifstream in(kImportDir + name, std::ios::binary);
  Picture picture;
  in >> picture.width >> picture.height;
  in.get();
  picture.pixels.resize(static_cast<std::size_t>(picture.width * picture.height));
  for (Bgr& p : picture.pixels) {
    char rgb[3];
    in.read(rgb, 3);
    p = {static_cast<std::uint8_t>(rgb[2]), static_cast<std::uint8_t>(rgb[1]),
         static_cast<std::uint8_t>(rgb[0])};
  }
  EXPECT_TRUE(in) << name;
  return picture;
}

DibReadError ReasonNamed(const std::string& name) {
  static const std::map<std::string, DibReadError> kReasons{
      {"NotAPicture", DibReadError::NotAPicture},
      {"CorruptPicture", DibReadError::CorruptPicture},
      {"NoSuchPage", DibReadError::NoSuchPage},
      {"UnsupportedPicture", DibReadError::UnsupportedPicture},
      {"OverBudget", DibReadError::OverBudget},
  };
  return kReasons.at(name);
}

PictureReadResult ReadPicture(const std::string& path, const PictureReadOptions& options) {
  CFile file(path, CFile::modeRead);
  return ReadPictureFile(file, options);
}

// The budget is fixed so that the refusals do not depend on the machine.
constexpr double kTestMegapixels = 50;

TEST(PictureImport, EveryTableFileReadsToItsPixelsOrIsRefusedForItsReason) {
  const std::vector<ImportCase> cases = LoadCases();
  ASSERT_GT(cases.size(), 80u);
  for (const ImportCase& c : cases) {
    SCOPED_TRACE(c.file + " page " + std::to_string(c.page));
    const PictureReadResult result = ReadPicture(kImportDir + c.file, {c.page, kTestMegapixels});
    if (c.tolerance == "-") {
      EXPECT_EQ(result.block.get(), nullptr);
      EXPECT_EQ(result.failure.reason, ReasonNamed(c.outcome))
          << DescribePictureReadFailure(result.failure);
      continue;
    }
    ASSERT_NE(result.block.get(), nullptr) << DescribePictureReadFailure(result.failure);
    EXPECT_EQ(result.failure.reason, DibReadError::None);
    EXPECT_TRUE(NearPicture(PictureOfBlock(result.block.get()), ReadExpected(c.outcome),
                            std::stoi(c.tolerance)));
  }
}

// Across and down, so that a failure prints them.
using PelsPerMeter = std::pair<std::uint32_t, std::uint32_t>;

PelsPerMeter ResolutionOf(HGLOBAL h) {
  const DibResolution resolution = GetDibResolution(h);
  return {resolution.xPelsPerMeter, resolution.yPelsPerMeter};
}

// "FILE X Y" a line.
std::vector<std::pair<std::string, PelsPerMeter>> LoadResolutions() {
  std::ifstream table(kImportDir + "resolutions.txt");
  std::vector<std::pair<std::string, PelsPerMeter>> cases;
  std::string file;
  PelsPerMeter expected;
  while (table >> file >> expected.first >> expected.second)
    cases.emplace_back(file, expected);
  return cases;
}

// The fields of a .bmp file's header as they are (GetDibResolution would
// hide one out of range).
PelsPerMeter FileResolution(const Bytes& bmp) {
  const auto field = [&bmp](std::size_t at) {
    return static_cast<std::uint32_t>(bmp.at(at) | bmp.at(at + 1) << 8 | bmp.at(at + 2) << 16 |
                                      bmp.at(at + 3) << 24);
  };
  return {field(38), field(42)};
}

// The document opened from the file, saved as a .bmp and that opened again.
TEST(PictureImport, EveryResolutionTableFileKeepsItsResolutionThroughABmpSave) {
  const auto cases = LoadResolutions();
  ASSERT_GT(cases.size(), 20u);
  for (const auto& [file, expected] : cases) {
    SCOPED_TRACE(file);
    TempDir dir;
    CQOV_V2Doc doc;
    ASSERT_TRUE(doc.OnOpenDocument(kImportDir + file)) << doc.GetFailureReason();
    EXPECT_EQ(ResolutionOf(doc.m_hDib), expected);
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("saved.bmp"))) << doc.GetFailureReason();
    EXPECT_EQ(FileResolution(ReadBytes(dir.File("saved.bmp"))), expected);
    ASSERT_TRUE(doc.OnOpenDocument(dir.File("saved.bmp"))) << doc.GetFailureReason();
    EXPECT_EQ(ResolutionOf(doc.m_hDib), expected) << "after the .bmp save";
  }
}

// Where a library would read on (into the header, or into 2 GiB of memory for
// a chunk of a 180-byte file), the refusal says what is wrong.
TEST(PictureImport, RefusalsSayWhatTheLibraryWouldHaveReadOnFrom) {
  struct Case {
    const char* file;
    const char* detail;
  };
  for (const Case& c : {Case{"png-huge-text.png", "tEXt: chunk data is too large"},
                        Case{"strip-offset-zero.tif", "strip 0 starts at offset 0"},
                        Case{"complex-int.tif", "complex samples (sample format 5)"},
                        Case{"complex-float.tif", "complex samples (sample format 6)"}}) {
    const PictureReadResult result = ReadPicture(kImportDir + c.file, {1, kTestMegapixels});
    EXPECT_NE(DescribePictureReadFailure(result.failure).find(c.detail), std::string::npos)
        << DescribePictureReadFailure(result.failure);
  }
}

// An address-space limit (ulimit -v) of 1 GiB beyond what the process maps
// now, for the scope.
class ScopedAddressSpaceLimit {
 public:
  ScopedAddressSpaceLimit() {
    ::getrlimit(RLIMIT_AS, &m_previous);
    std::ifstream status("/proc/self/status");
    std::uint64_t kibibytes = 0;
    for (std::string key; status >> key;) {
      if (key == "VmSize:" && status >> kibibytes)
        break;
    }
    const rlimit limit{kibibytes * 1024 + (rlim_t{1} << 30), m_previous.rlim_max};
    ::setrlimit(RLIMIT_AS, &limit);
  }
  ~ScopedAddressSpaceLimit() { ::setrlimit(RLIMIT_AS, &m_previous); }

 private:
  rlimit m_previous{};
};

// Without an explicit limit, a picture is measured against what the process
// may still map, not only against the machine's free memory.
TEST(PictureImport, DefaultBudgetKeepsWithinTheAddressSpaceLimit) {
  const ScopedAddressSpaceLimit limit;
  const PictureReadResult result = ReadPicture(kImportDir + "huge-declared.tif", {1, 0});
  EXPECT_EQ(result.failure.reason, DibReadError::OverBudget)
      << DescribePictureReadFailure(result.failure);
  EXPECT_LE(CMemoryBudget().MaxPixels(), (std::uint64_t{1} << 30) / 3);
}

// The message names the declared size and the limit, in English and in
// Japanese; a run-length .bmp of a few bytes declaring 30000 × 30000 takes
// no memory.
TEST(PictureImport, OverBudgetNamesSizeAndLimit) {
  DibFields fields;
  fields.width = 30000;
  fields.height = 30000;
  fields.bitCount = 8;
  fields.compression = 1;
  fields.colorTable = {kBlack, kRed};
  fields.pixels = {0, 1};
  struct Case {
    std::string path;
    const char* size;
    const char* japaneseSize;
  };
  TempDir dir;
  WriteBytes(dir.File("rle.bmp"), MakeBmpFile(fields));
  for (const Case& c :
       {Case{dir.File("rle.bmp"), "30000 x 30000 pixels (900.0 megapixels)",
             "30000 x 30000 ピクセル (900.0 メガピクセル)"},
        Case{kImportDir + "huge-declared.tif", "40000 x 40000 pixels (1600.0 megapixels)",
             "40000 x 40000 ピクセル (1600.0 メガピクセル)"}}) {
    SCOPED_TRACE(c.path);
    const PictureReadResult result = ReadPicture(c.path, {1, 100});
    EXPECT_EQ(result.block.get(), nullptr);
    EXPECT_EQ(DescribePictureReadFailure(result.failure),
              std::string("the picture is larger than the memory limit: ") + c.size +
                  ", more than the limit of 100.0 megapixels");
    EXPECT_EQ(DescribePictureReadFailure(result.failure, Language::Japanese),
              std::string("画像がメモリの上限を超えています。\n") + c.japaneseSize +
                  "、上限は 100.0 メガピクセル");
  }
}

// The page sizes come as the pages show: turned by their orientation. Only
// a TIFF has pages to list.
TEST(PictureImport, PageListsGiveEachTiffPageItsSize) {
  struct Case {
    std::string file;
    std::vector<PicturePageSize> pages;
  };
  for (const Case& c :
       {Case{"two-pages.tif", {{13, 7}, {5, 3}}}, Case{"grey8-lzw.tif", {{13, 7}}},
        Case{"orientation6.tif", {{7, 13}}}, Case{"png-c2-8.png", {}}, Case{"rgb8-cut.tif", {}}}) {
    CFile file(kImportDir + c.file, CFile::modeRead);
    EXPECT_EQ(ListPictureFilePages(file), c.pages) << c.file;
  }
}

}  // namespace
}  // namespace qov::test
