// qov-convert's contract with scripts: usage errors, unreadable inputs and
// unwritable outputs, each with its exit status and a one-line reason, and
// nothing written where nothing may be.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tests/cli/RunConvert.h"
#include "tests/support/Bitmap.h"

namespace qov::test {
namespace {

const std::string kSample = std::string(QOV_TEST_DATA_DIR) + "/golden/in/0020_b1_shapes_48x48.bmp";

int CountLines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
};

class UsageError : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageError, ExitsWithTwoAndWritesNothing) {
  TempDir dir;
  // COPY is a copy of the sample that an output may not replace, LINK a link to it.
  WriteFileBytes(dir.File("copy.bmp"), ReadFileBytes(kSample));
  symlink("copy.bmp", dir.File("link.bmp").c_str());
  const std::map<std::string, std::string> names{{"SAMPLE", kSample},
                                                 {"OUT", dir.File("out")},
                                                 {"COPY", dir.File("copy.bmp")},
                                                 {"LINK", dir.File("link.bmp")}};
  std::vector<std::string> args;
  for (const auto& arg : GetParam().args)
    args.push_back(names.contains(arg) ? names.at(arg) : arg);
  ProgramResult result = RunConvert(args);
  EXPECT_EQ(result.exitStatus, 2) << result.err;
  EXPECT_FALSE(FileExists(dir.File("out")));
  EXPECT_EQ(ReadFileBytes(dir.File("copy.bmp")), ReadFileBytes(kSample));
  EXPECT_TRUE(result.out.empty());
  EXPECT_NE(result.err.find("qov-convert: "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, UsageError,
    testing::Values(UsageCase{"NoInput", {}}, UsageCase{"OnlyAnOperation", {"--outline"}},
                    UsageCase{"UnknownOption", {"SAMPLE", "--sharpen"}},
                    UsageCase{"ThresholdAbove100", {"SAMPLE", "--threshold", "101"}},
                    UsageCase{"ThresholdNegative", {"SAMPLE", "--threshold", "-1"}},
                    UsageCase{"ThresholdNotANumber", {"SAMPLE", "--threshold", "5O"}},
                    UsageCase{"ThresholdMissing", {"SAMPLE", "--threshold"}},
                    UsageCase{"OutputMissing", {"SAMPLE", "--dxf-trace"}},
                    // The first output would be written if the arguments were
                    // not all checked before anything runs.
                    UsageCase{"LateError", {"SAMPLE", "--save-bmp", "OUT", "--threshold", "x"}},
                    UsageCase{"TheSameInputTwice", {"SAMPLE", "SAMPLE"}},
                    UsageCase{"UnknownPatternField", {"SAMPLE", "--dxf-trace", "{base}.dxf"}},
                    UsageCase{"PageZero", {"SAMPLE", "--page", "0"}},
                    UsageCase{"PageMissing", {"SAMPLE", "--page"}},
                    UsageCase{"MaxMegapixelsZero", {"SAMPLE", "--max-megapixels", "0"}},
                    UsageCase{"MaxMegapixelsNotANumber", {"SAMPLE", "--max-megapixels", "5x"}},
                    UsageCase{"OutputOverTheInput", {"COPY", "--dxf-trace", "COPY"}},
                    UsageCase{"OutputOverTheInputByPattern",
                              {"COPY", "--save-bmp", "OUT", "--dxf-lines", "{dir}/{name}"}},
                    UsageCase{"OutputOverALinkToTheInput", {"COPY", "--save-bmp", "LINK"}},
                    UsageCase{"InputThroughALinkUnderTheOutput", {"LINK", "--save-bmp", "COPY"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Convert, HelpListsEveryOperation) {
  ProgramResult result = RunConvert({"--help"});
  EXPECT_EQ(result.exitStatus, 0);
  for (const char* option :
       {"--threshold", "--outline", "--dither1", "--dither2", "--error-diffusion", "--save-bmp",
        "--dxf-crosses", "--dxf-lines", "--dxf-trace", "--vectorscript", "--vectorscript-all",
        "--page", "--max-megapixels", "Exit status"}) {
    EXPECT_NE(result.out.find(option), std::string::npos) << option;
  }
}

TEST(Convert, VersionNamesTheRelease) {
  ProgramResult result = RunConvert({"--version"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_NE(result.out.find("2.0.4.0"), std::string::npos) << result.out;
}

struct BadInputCase {
  const char* name;
  // Makes the input in `dir` and returns its path.
  std::string (*make)(const TempDir& dir);
};

class BadInput : public testing::TestWithParam<BadInputCase> {};

TEST_P(BadInput, ExitsWithOneAndOneLineReason) {
  TempDir dir;
  std::string input = GetParam().make(dir);
  ProgramResult result = RunConvert({input, "--save-bmp", dir.File("out.bmp")});
  EXPECT_EQ(result.exitStatus, 1) << result.err;
  EXPECT_EQ(CountLines(result.err), 1) << result.err;
  EXPECT_NE(result.err.find(input), std::string::npos) << result.err;
  EXPECT_FALSE(FileExists(dir.File("out.bmp")));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, BadInput,
    testing::Values(BadInputCase{"Missing", [](const TempDir& d) { return d.File("missing.bmp"); }},
                    BadInputCase{"Empty",
                                 [](const TempDir& d) {
                                   WriteFileBytes(d.File("empty.bmp"), "");
                                   return d.File("empty.bmp");
                                 }},
                    BadInputCase{"Directory",
                                 [](const TempDir& d) {
                                   mkdir((d.File("folder.bmp")).c_str(), 0755);
                                   return d.File("folder.bmp");
                                 }},
                    BadInputCase{"Truncated",
                                 [](const TempDir& d) {
                                   WriteFileBytes(d.File("cut.bmp"),
                                                  ReadFileBytes(kSample).substr(0, 100));
                                   return d.File("cut.bmp");
                                 }},
                    BadInputCase{"HugeDimensions",
                                 [](const TempDir& d) {
                                   WriteBytes(d.File("huge.bmp"),
                                              MakeBmpFile({.width = 200000, .height = 200000}));
                                   return d.File("huge.bmp");
                                 }},
                    BadInputCase{"NotABitmap",
                                 [](const TempDir& d) {
                                   WriteFileBytes(d.File("text.bmp"),
                                                  "this is text, not a picture\n");
                                   return d.File("text.bmp");
                                 }}),
    [](const auto& info) { return std::string(info.param.name); });

const std::string kTwoPages = std::string(QOV_TEST_DATA_DIR) + "/import/two-pages.tif";

// Other formats open by their first bytes; the page and the memory limit
// are the reader's to check, so a refusal is an unreadable input (exit 1).
TEST(Convert, PageAndMemoryLimitChooseWhatIsRead) {
  struct Case {
    std::vector<std::string> args;
    int exitStatus;
    const char* err;
  };
  // Run-length data that stops after its first row of two: it opens, the
  // rest black, with a warning.
  TempDir input;
  const std::string cut = input.File("cut.bmp");
  WriteBytes(cut, MakeBmpFile({.width = 2,
                               .height = 2,
                               .bitCount = 8,
                               .compression = 1,
                               .colorTable = {kRed},
                               .pixels = {2, 0, 0, 0}}));
  const Case cases[] = {
      {{cut, "--page", "1"}, 0, "cut.bmp: warning: the pixel data is cut short\n"},
      {{kTwoPages, "--page", "2"}, 0, ""},
      {{kTwoPages, "--page", "3"}, 1, "the file has no such page: page 3 of 2\n"},
      {{kTwoPages, "--max-megapixels", "0.00005"},
       1,
       "the picture is larger than the memory limit: 13 x 7 pixels (91 pixels), more than the "
       "limit of 50 pixels\n"},
      {{kSample, "--max-megapixels", "0.002"},
       1,
       "the picture is larger than the memory limit: 48 x 48 pixels (2304 pixels), more than the "
       "limit of 2000 pixels\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--save-bmp", dir.File("out.bmp")});
    ProgramResult result = RunConvert(args);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << args[1] << ' ' << args[2] << result.err;
    EXPECT_TRUE(result.err.ends_with(c.err)) << result.err;
    EXPECT_EQ(FileExists(dir.File("out.bmp")), c.exitStatus == 0);
  }
}

TEST(Convert, UnreadableInputIsRefused) {
  if (geteuid() == 0)
    GTEST_SKIP() << "root reads every file";
  TempDir dir;
  std::string input = dir.File("locked.bmp");
  WriteFileBytes(input, ReadFileBytes(kSample));
  chmod(input.c_str(), 0);
  ProgramResult result = RunConvert({input, "--save-bmp", dir.File("out.bmp")});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(CountLines(result.err), 1) << result.err;
}

struct BadOutputCase {
  const char* name;
  std::string (*path)(const TempDir& dir);
};

class BadOutput : public testing::TestWithParam<std::tuple<BadOutputCase, const char*>> {};

TEST_P(BadOutput, ExitsWithThreeAndOneLineReason) {
  const auto& [where, option] = GetParam();
  TempDir dir;
  ProgramResult result = RunConvert({kSample, option, where.path(dir)});
  EXPECT_EQ(result.exitStatus, 3) << result.err;
  EXPECT_EQ(CountLines(result.err), 1) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, BadOutput,
    testing::Combine(
        testing::Values(
            BadOutputCase{"MissingFolder", [](const TempDir& d) { return d.File("no/such/out"); }},
            BadOutputCase{"AFolder", [](const TempDir& d) { return d.path().string(); }},
            BadOutputCase{"DiskFull", [](const TempDir&) { return std::string("/dev/full"); }}),
        testing::Values("--save-bmp", "--dxf-crosses", "--dxf-lines", "--dxf-trace",
                        "--vectorscript", "--vectorscript-all")),
    [](const auto& info) {
      std::string name = std::string(std::get<0>(info.param).name) + std::get<1>(info.param);
      std::replace(name.begin(), name.end(), '-', '_');
      return name;
    });

TEST(Convert, DashWritesToStandardOutput) {
  TempDir dir;
  ProgramResult toFile = RunConvert({kSample, "--dxf-crosses", dir.File("out.dxf")});
  ProgramResult toStdout = RunConvert({kSample, "--dxf-crosses", "-"});
  ASSERT_EQ(toFile.exitStatus, 0) << toFile.err;
  ASSERT_EQ(toStdout.exitStatus, 0) << toStdout.err;
  EXPECT_EQ(toStdout.out, ReadFileBytes(dir.File("out.dxf")));
  EXPECT_EQ(toStdout.out.substr(toStdout.out.size() - 3), "EOF");
}

TEST(Convert, OperationsRunInTheOrderGiven) {
  TempDir dir;
  // Its paper is off-white, so a threshold of 100 turns it black.
  const std::string sample = std::string(QOV_SOURCE_DIR) + "/res/samples/drawing-24.bmp";
  // The first save sees the picture before the threshold, the second after.
  ProgramResult result = RunConvert({sample, "--save-bmp", dir.File("before.bmp"), "--threshold",
                                     "100", "--save-bmp", dir.File("after.bmp")});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(ReadFileBytes(dir.File("before.bmp")).size(),
            ReadFileBytes(dir.File("after.bmp")).size());
  EXPECT_TRUE(ReadFileBytes(dir.File("before.bmp")) != ReadFileBytes(dir.File("after.bmp")));
}

}  // namespace
}  // namespace qov::test
