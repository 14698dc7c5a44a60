// Every row of the golden manifest: qov-convert's exit status and the exact
// bytes it writes, against outputs computed independently of this code.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/RunConvert.h"

namespace qov::test {
namespace {

const std::string kGoldenDir = std::string(QOV_TEST_DATA_DIR) + "/golden";

struct GoldenRow {
  std::string input;
  std::vector<std::string> arguments;
  int exitStatus;
  std::string expected;  // "-" when nothing is written
};

std::vector<std::string> SplitWords(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;)
    words.push_back(word);
  return words;
}

std::vector<GoldenRow> LoadManifest() {
  std::ifstream in(kGoldenDir + "/MANIFEST.tsv");
  std::vector<GoldenRow> rows;
  std::string line;
  std::getline(in, line);  // the column names
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string input, arguments, status, expected;
    std::getline(fields, input, '\t');
    std::getline(fields, arguments, '\t');
    std::getline(fields, status, '\t');
    std::getline(fields, expected, '\t');
    if (input.empty())
      continue;
    rows.push_back({input, SplitWords(arguments), std::stoi(status), expected});
  }
  return rows;
}

class GoldenOutput : public testing::TestWithParam<GoldenRow> {};

TEST_P(GoldenOutput, ExitStatusAndBytesMatch) {
  const GoldenRow& row = GetParam();
  TempDir dir;
  std::vector<std::string> args{row.input};
  args.insert(args.end(), row.arguments.begin(), row.arguments.end());
  std::string output = dir.File("output");
  args.push_back(output);

  ProgramResult result = RunConvert(args, kGoldenDir);

  EXPECT_EQ(result.exitStatus, row.exitStatus) << result.err;
  if (row.expected == "-") {
    EXPECT_FALSE(FileExists(output)) << "nothing may be written for a refused input";
    EXPECT_FALSE(result.err.empty()) << "a refused input says why";
  } else {
    std::string expected = ReadFileBytes(kGoldenDir + "/" + row.expected);
    ASSERT_FALSE(expected.empty());
    std::string actual = ReadFileBytes(output);
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(actual == expected) << "differs from " << row.expected;
  }
}

std::string RowName(const testing::TestParamInfo<GoldenRow>& info) {
  std::string name = std::to_string(info.index) + "_" + info.param.expected;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)))
      c = '_';
  }
  return name;
}

TEST(GoldenManifest, ListsEveryRun) {
  EXPECT_EQ(LoadManifest().size(), 120u);
}

INSTANTIATE_TEST_SUITE_P(Manifest, GoldenOutput, testing::ValuesIn(LoadManifest()), RowName);

}  // namespace
}  // namespace qov::test
