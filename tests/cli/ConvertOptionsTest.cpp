#include "cli/ConvertOptions.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Menu.h"
#include "res/Resource.h"

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

// The command ids under `items`, submenus included.
void CollectCommands(const std::vector<MenuItem>& items, std::vector<UINT>& ids) {
  for (const MenuItem& item : items) {
    if (item.kind == MenuItem::Command)
      ids.push_back(item.id);
    CollectCommands(item.items, ids);
  }
}

TEST(Operations, EveryToolsMenuCommandIsAnOperationOrWindowOnly) {
  const std::vector<MenuItem>& menu = LoadMenu(IDR_MAINFRAME);
  auto tools = std::find_if(menu.begin(), menu.end(),
                            [](const MenuItem& popup) { return popup.text == "ツール"; });
  ASSERT_NE(tools, menu.end());
  std::vector<UINT> ids;
  CollectCommands(tools->items, ids);
  ASSERT_FALSE(ids.empty());
  const auto windowOnly = WindowOnlyCommands();
  for (UINT id : ids) {
    const auto table = OperationTable();
    const bool wired = std::any_of(table.begin(), table.end(),
                                   [id](const OperationRow& row) { return row.command == id; });
    const bool listed = std::find(windowOnly.begin(), windowOnly.end(), id) != windowOnly.end();
    EXPECT_NE(wired, listed) << "command " << id;
  }
}

// A table with one operation that takes two parameters, as an operation with
// a settings dialog declares them.
constexpr OperationParameter kSizes[] = {
    {"dpi", "N", 1, 10000, 300, "resolution"},
    {"tolerance", "T", 0, 1, 0.5, "tolerance"},
};
constexpr OperationRow kWithParameters[] = {
    {ConvertOperation::DxfTrace, "--dxf-trace", ID_AUTO_TRACE, OperationArgument::File, nullptr,
     "trace", kSizes},
    {ConvertOperation::Outline, "--outline", ID_OUTLINE, OperationArgument::None, nullptr,
     "outline"},
};

TEST(Operations, ParametersHoldForTheOperationsAfterThemAndReachTheChildren) {
  using Values = std::vector<ConvertOperation::ParameterValue>;
  struct Case {
    std::vector<std::string> args;
    const char* error;  // a part of the refusal; null when parsed
    std::vector<Values> values;
    std::vector<std::string> firstArguments;
  };
  const Case cases[] = {
      {{"in.bmp", "--dxf-trace", "a.dxf"},
       nullptr,
       {{{"dpi", 300}, {"tolerance", 0.5}}},
       {"--dpi", "300", "--tolerance", "0.5", "--dxf-trace", "OUT"}},
      {{"--dpi", "600", "in.bmp", "--dxf-trace", "a", "--outline", "--tolerance", "0.25",
        "--dxf-trace", "b"},
       nullptr,
       {{{"dpi", 600}, {"tolerance", 0.5}}, {}, {{"dpi", 600}, {"tolerance", 0.25}}},
       {"--dpi", "600", "--tolerance", "0.5", "--dxf-trace", "OUT"}},
      {{"in.bmp", "--dxf-trace", "a", "--dpi", "72"}, "--dpi is followed by no operation", {}, {}},
      {{"in.bmp", "--dpi", "0", "--dxf-trace", "a"},
       "--dpi takes a number from 1 to 10000",
       {},
       {}},
      {{"in.bmp", "--dpi", "--dxf-trace", "a"}, "--dpi takes a number", {}, {}},
      {{"in.bmp", "--dpi"}, "--dpi needs an argument", {}, {}},
  };
  for (const Case& c : cases) {
    ParsedOptions parsed = ParseConvertOptions(c.args, kWithParameters);
    ASSERT_EQ(parsed.options.has_value(), c.error == nullptr) << testing::PrintToString(c.args);
    if (c.error) {
      EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
      continue;
    }
    std::vector<Values> values;
    for (const ConvertOperation& operation : parsed.options->operations)
      values.push_back(operation.parameters);
    EXPECT_EQ(values, c.values) << testing::PrintToString(c.args);
    EXPECT_EQ(OperationArguments(parsed.options->operations[0], "OUT"), c.firstArguments);
  }
}

}  // namespace
}  // namespace qov
