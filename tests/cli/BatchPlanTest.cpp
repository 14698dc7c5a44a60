// A run over many inputs as decided before anything runs: the run options,
// output names from patterns, the inputs that folders and lists name,
// collisions and shards; and the texts a run writes as it goes, its
// children's result records among them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/BatchPlan.h"
#include "cli/BatchReport.h"
#include "cli/BatchResult.h"
#include "cli/InputList.h"
#include "cli/OutputPattern.h"
#include "cli/ProgressLine.h"
#include "tests/support/TempDir.h"

namespace qov {
namespace {

struct PatternCase {
  const char* pattern;
  const char* input;
  const char* outputDir;
  const char* expected;  // null: the pattern is refused
};

TEST(OutputPattern, FieldsComeFromTheInputAndRelativeNamesGoIntoTheOutputFolder) {
  const PatternCase cases[] = {
      {"{stem}.dxf", "scans/a.b.tif", "", "a.b.dxf"},
      {"{dir}/{stem}.dxf", "scans/a.tif", "", "scans/a.dxf"},
      {"{dir}/{name}.dxf", "a.tif", "", "./a.tif.dxf"},
      {"{stem}-{page}.dxf", "a.tif", "", "a-1.dxf"},
      {"{stem}.dxf", "x/a.tif", "out", "out/a.dxf"},
      {"/abs/{stem}.dxf", "a.tif", "out", "/abs/a.dxf"},
      {"plain.dxf", "a.tif", "", "plain.dxf"},
      {"-", "a.tif", "out", "-"},
      {"{nope}.dxf", "a.tif", "", nullptr},
      {"{stem.dxf", "a.tif", "", nullptr},
      {"a}.dxf", "a.tif", "", nullptr},
      {"{{stem}}-{{{stem}}}.dxf", "a.tif", "", "{stem}-{a}.dxf"},
      {"{{stem}.dxf", "a.tif", "", nullptr},
  };
  for (const auto& c : cases) {
    std::vector<ConvertOperation> operations{{ConvertOperation::DxfTrace, 0, c.pattern}};
    std::string error;
    const bool expanded = ExpandOutputs(operations, c.input, 1, c.outputDir, error);
    ASSERT_EQ(expanded, c.expected != nullptr) << c.pattern << ": " << error;
    if (expanded) {
      EXPECT_EQ(operations[0].path, c.expected) << c.pattern;
    }
  }
}

struct PlanCase {
  const char* name;
  std::vector<std::string> args;  // "T/" stands for the folder of the files below
  const char* error;              // a part of the refusal; null when the plan is made
  std::vector<std::string> inputs;
};

// T/a/x.bmp, T/a/y.bmp, T/b.bmp; T/alias a link to the folder T/a, T/hard.bmp
// a hard link of T/b.bmp.
void MakeLinkedFiles(const test::TempDir& dir) {
  std::filesystem::create_directories(dir.path() / "a");
  for (const char* name : {"a/x.bmp", "a/y.bmp", "b.bmp"})
    std::ofstream(dir.File(name)) << "x";
  std::filesystem::create_directory_symlink("a", dir.path() / "alias");
  std::filesystem::create_hard_link(dir.File("b.bmp"), dir.File("hard.bmp"));
}

TEST(BatchPlan, RefusesCollisionsForTheWholeListAndKeepsTheShardsShare) {
  test::TempDir dir;
  MakeLinkedFiles(dir);
  const PlanCase cases[] = {
      {"same stem in two folders",
       {"a/x.bmp", "b/x.bmp", "--dxf-trace", "{stem}.dxf"},
       "would both write",
       {}},
      {"kept apart by their folders",
       {"a/x.bmp", "b/x.bmp", "--dxf-trace", "{dir}/{stem}.dxf"},
       nullptr,
       {"a/x.bmp", "b/x.bmp"}},
      {"one fixed output", {"a.bmp", "b.bmp", "--dxf-lines", "out.dxf"}, "would both write", {}},
      {"an input twice", {"a.bmp", "./a.bmp"}, "named twice", {}},
      {"an output over an input",
       {"a.bmp", "b.bmp", "--save-bmp", "{stem}.bmp"},
       "would replace the input",
       {}},
      {"a collision outside the shard",
       {"--shard", "1/2", "a/x.bmp", "c.bmp", "b/x.bmp", "--dxf-trace", "{stem}.dxf"},
       "would both write",
       {}},
      {"shard 2 of 3",
       {"--shard", "2/3", "0.bmp", "1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp", "6.bmp"},
       nullptr,
       {"1.bmp", "4.bmp"}},
      {"shard 3 of 3", {"--shard", "3/3", "0.bmp", "1.bmp"}, nullptr, {}},
      {"outputs over the inputs through a linked folder",
       {"T/a/x.bmp", "T/a/y.bmp", "--output-dir", "T/alias", "--save-bmp", "{name}"},
       "would replace the input",
       {}},
      {"an output over a hard link of an input",
       {"--quiet", "T/b.bmp", "--dxf-trace", "T/hard.bmp"},
       "would replace the input",
       {}},
      {"an input twice through a linked folder", {"T/a/x.bmp", "T/alias/x.bmp"}, "named twice", {}},
      {"one new file through a linked folder",
       {"T/a/x.bmp", "T/alias/y.bmp", "--dxf-trace", "{dir}/new.dxf"},
       "would both write",
       {}},
      {"the report over an input",
       {"T/a/x.bmp", "T/a/y.bmp", "--report", "T/alias/y.bmp"},
       "the report T/alias/y.bmp would replace the input T/a/y.bmp",
       {}},
      {"the report named like an output",
       {"a.bmp", "b.bmp", "--dxf-trace", "{stem}.dxf", "--report", "./b.dxf"},
       "the input b.bmp would write the report ./b.dxf",
       {}},
      {"standard output from two inputs",
       {"--shard", "2/2", "a.bmp", "b.bmp", "--dxf-trace", "-"},
       "the inputs a.bmp and b.bmp would both write - (standard output)",
       {}},
      {"standard output twice from one input",
       {"--quiet", "a.bmp", "--dxf-trace", "-", "--save-bmp", "-"},
       nullptr,
       {"a.bmp"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args;
    for (const std::string& arg : c.args)
      args.push_back(arg.starts_with("T/") ? dir.File(arg.substr(2)) : arg);
    ParsedOptions parsed = ParseConvertOptions(args);
    ASSERT_TRUE(parsed.options) << c.name << ": " << parsed.error;
    std::string error;
    auto jobs = PlanBatch(*parsed.options, parsed.options->inputs, error);
    if (c.error) {
      EXPECT_FALSE(jobs) << c.name;
      std::string expected = c.error;
      for (std::size_t at; (at = expected.find("T/")) != std::string::npos;)
        expected.replace(at, 2, dir.File(""));
      EXPECT_NE(error.find(expected), std::string::npos) << c.name << ": " << error;
      continue;
    }
    ASSERT_TRUE(jobs) << c.name << ": " << error;
    std::vector<std::string> inputs;
    for (const BatchJob& job : *jobs)
      inputs.push_back(job.input);
    EXPECT_EQ(inputs, c.inputs) << c.name;
  }
}

TEST(InputList, RecursiveFoldersGiveTheirPicturesSortedAndListsTheirLines) {
  test::TempDir dir;
  std::filesystem::create_directories(dir.path() / "sub");
  for (const char* name : {"b.PNG", "a.bmp", "notes.dxf", "sub/c.dib", "sub/d.tif"})
    std::ofstream(dir.File(name)) << "x";
  std::ofstream(dir.File("list.txt")) << "one.bmp\r\n\n \t\r\ntwo words.tif\n";
  std::istringstream stdinList("three.jpg\n");
  struct Case {
    std::vector<std::string> args;
    bool recursive;
    std::vector<std::string> expected;
  };
  const std::string d = dir.path().string();
  const Case cases[] = {
      {{d}, true, {d + "/a.bmp", d + "/b.PNG", d + "/sub/c.dib", d + "/sub/d.tif"}},
      {{"z.bmp", "@" + dir.File("list.txt"), "-"},
       false,
       {"z.bmp", "one.bmp", "two words.tif", "three.jpg"}},
  };
  for (const auto& c : cases) {
    std::string error;
    auto inputs = ExpandInputs(c.args, c.recursive, stdinList, error);
    ASSERT_TRUE(inputs) << error;
    EXPECT_EQ(*inputs, c.expected);
  }
  for (const std::string& refused : {"@" + dir.File("missing.txt"), d}) {
    std::string error;
    EXPECT_FALSE(ExpandInputs({refused}, false, stdinList, error)) << refused;
    EXPECT_NE(error.find(refused.substr(refused[0] == '@')), std::string::npos) << error;
  }
}

TEST(BatchReport, EveryLineIsOneValidJsonObject) {
  EXPECT_EQ(JsonString("plain"), "\"plain\"");
  EXPECT_EQ(JsonString("say \"hi\"\\"), "\"say \\\"hi\\\"\\\\\"");
  EXPECT_EQ(JsonString("tab\tline\n"), "\"tab\\u0009line\\u000a\"");
  EXPECT_EQ(JsonString("図面.tif"), "\"図面.tif\"");
  EXPECT_EQ(JsonString("bad\xff\xe3\x81"), "\"bad\\ufffd\\ufffd\\ufffd\"");
  struct Case {
    JobRecord record;
    const char* line;
  };
  // A name that is not UTF-8 has its exact bytes beside it, '%' and the
  // bytes that are no UTF-8 written as %XX, so that no two names give one line.
  const Case cases[] = {
      {{"a.bmp", {"a.dxf", "b.dxf"}, JobRecord::Failed, "not a bitmap", 1.5, 4096},
       "{\"input\":\"a.bmp\",\"outputs\":[\"a.dxf\",\"b.dxf\"],\"status\":\"failed\","
       "\"reason\":\"not a bitmap\",\"seconds\":1.500,\"peak_memory\":4096}"},
      {{"5%\xff.bmp", {"a.dxf", "\xfe\xff.dxf"}, JobRecord::Done, "", 0, 0},
       "{\"input\":\"5%\\ufffd.bmp\",\"input_bytes\":\"5%25%FF.bmp\","
       "\"outputs\":[\"a.dxf\",\"\\ufffd\\ufffd.dxf\"],\"outputs_bytes\":[\"a.dxf\",\"%FE%FF.dxf\"]"
       ","
       "\"status\":\"done\",\"reason\":\"\",\"seconds\":0.000,\"peak_memory\":0}"},
      {{"5%\xfe.bmp", {}, JobRecord::Done, "", 0, 0},
       "{\"input\":\"5%\\ufffd.bmp\",\"input_bytes\":\"5%25%FE.bmp\",\"outputs\":[],"
       "\"status\":\"done\",\"reason\":\"\",\"seconds\":0.000,\"peak_memory\":0}"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatJobRecord(c.record), c.line);
}

TEST(ProgressLine, TellsDoneOfAllTheFileTheRateAndTheTimeLeft) {
  EXPECT_EQ(FormatProgress(0, 200, "scans/a.tif", 1.0), "[0/200] a.tif");
  EXPECT_EQ(FormatProgress(12, 200, "x.tif", 4.0), "[12/200] x.tif  3.0 files/s  1:03 left");
  EXPECT_EQ(FormatProgress(1, 7201, "", 1.0), "[1/7201]  1.0 files/s  2:00:00 left");
}

// A reason runs to the record's end, so whatever a name holds comes back.
TEST(BatchResult, RecordGivesBackStatusAndReasonAndRefusesAnythingElse) {
  const BatchResult results[] = {
      {0, ""},
      {1, "not a picture file (.bmp, TIFF, PNG, JPEG or PNM)"},
      {3, "dxf/a b.dxf: No space left on device"},
      {3, "dxf/status=1 reason=x\n.dxf: Permission denied"},
      {127, "cannot start /x: No such file or directory"},
  };
  for (const BatchResult& result : results) {
    SCOPED_TRACE(result.reason);
    const std::string record = FormatBatchResult(result);
    EXPECT_EQ(record,
              "status=" + std::to_string(result.status) + " reason=" + result.reason + "\n");
    EXPECT_EQ(ParseBatchResult(record), result);
  }
  for (const char* record : {"", "status=1 reason=cut short", "status= reason=x\n",
                             "status=1reason=x\n", "reason=x status=1\n", "qov-convert: x\n"}) {
    SCOPED_TRACE(record);
    EXPECT_EQ(ParseBatchResult(record), std::nullopt);
  }
}

}  // namespace
}  // namespace qov
