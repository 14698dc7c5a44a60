#include "cli/ConvertOptions.h"

#include <gtest/gtest.h>

namespace qov {
namespace {

TEST(ConvertOptions, OperationsKeepTheirOrderAndArguments) {
  ParsedOptions parsed =
      ParseConvertOptions({"--threshold", "0", "in.bmp", "--outline", "--dxf-trace", "-",
                           "--threshold", "100", "--vectorscript-all", "a.txt"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  const auto& ops = parsed.options->operations;
  ASSERT_EQ(ops.size(), 5u);
  EXPECT_EQ(parsed.options->inputs, std::vector<std::string>{"in.bmp"});
  EXPECT_EQ(ops[0].kind, ConvertOperation::Threshold);
  EXPECT_EQ(ops[0].percent, 0);
  EXPECT_EQ(ops[1].kind, ConvertOperation::Outline);
  EXPECT_EQ(ops[2].kind, ConvertOperation::DxfTrace);
  EXPECT_EQ(ops[2].path, "-");
  EXPECT_EQ(ops[3].percent, 100);
  EXPECT_EQ(ops[4].kind, ConvertOperation::VectorScriptAll);
  EXPECT_EQ(ops[4].path, "a.txt");
}

TEST(ConvertOptions, ThresholdTakesOnlyWholeNumbersFrom0To100) {
  for (const char* bad : {"", "101", "-1", "+5", " 5", "5 ", "5.0", "0x10", "1e2", "99999999999"}) {
    EXPECT_FALSE(ParseConvertOptions({"in.bmp", "--threshold", bad}).options) << '"' << bad << '"';
  }
  for (const char* good : {"0", "7", "50", "100", "007"}) {
    EXPECT_TRUE(ParseConvertOptions({"in.bmp", "--threshold", good}).options) << good;
  }
}

TEST(ConvertOptions, RunOptionsAreCheckedAndMakeARunOverManyInputs) {
  struct Case {
    std::vector<std::string> args;
    bool parsed;
    bool single;
  };
  const Case cases[] = {
      {{"a.bmp", "--dxf-trace", "a.dxf"}, true, true},
      {{"a.bmp", "b.bmp"}, true, false},
      {{"@list.txt"}, true, false},
      {{"-"}, true, false},
      {{"a.bmp", "--quiet"}, true, false},
      {{"-j", "2", "a.bmp"}, true, false},
      {{"--jobs", "0", "a.bmp"}, false, false},
      {{"-j", "a.bmp"}, false, false},
      {{"--shard", "2/3", "a.bmp"}, true, false},
      {{"--shard", "4/3", "a.bmp"}, false, false},
      {{"--shard", "0/3", "a.bmp"}, false, false},
      {{"--shard", "3", "a.bmp"}, false, false},
      {{"--report"}, false, false},
      {{"a.bmp", ""}, false, false},
  };
  for (const auto& c : cases) {
    ParsedOptions parsed = ParseConvertOptions(c.args);
    ASSERT_EQ(parsed.options.has_value(), c.parsed) << testing::PrintToString(c.args);
    if (parsed.options) {
      EXPECT_EQ(parsed.options->IsSingle(), c.single) << testing::PrintToString(c.args);
    }
  }
}

}  // namespace
}  // namespace qov
