// qov-convert over many inputs, run as scripts and engines run it: one bad
// file among good ones, the reasons in the report, an interrupted run resumed, the progress line on
// a terminal only, and shards spread by GNU parallel.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/cli/RunConvert.h"

extern char** environ;

namespace qov::test {
namespace {

namespace fs = std::filesystem;

const std::string kSample = std::string(QOV_SOURCE_DIR) + "/res/samples/drawing-24.bmp";
const std::vector<std::string> kTrace{"--threshold", "50", "--dxf-trace", "{dir}/{stem}.dxf"};

// Copies of the sample named good0.bmp, good1.bmp, ... (or `stem`0.bmp, ...)
// in `dir`, and `broken` files that are no pictures.
void MakeInputs(const TempDir& dir, int good, int broken = 0, const std::string& stem = "good") {
  for (int i = 0; i < good; ++i)
    fs::copy_file(kSample, dir.File(stem + std::to_string(i) + ".bmp"));
  for (int i = 0; i < broken; ++i)
    std::ofstream(dir.File("broken" + std::to_string(i) + ".bmp")) << "not a picture\n";
}

std::vector<std::string> Args(std::vector<std::string> head, const std::vector<std::string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

std::vector<fs::path> FilesEndingIn(const fs::path& dir, const std::string& ending) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name.size() >= ending.size() &&
        name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
      found.push_back(entry.path());
  }
  return found;
}

int CountOccurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = 0; (at = text.find(part, at)) != std::string::npos; at += part.size())
    ++count;
  return count;
}

// The DXF that one run of the one-picture form writes for the sample.
std::string ReferenceTrace() {
  TempDir dir;
  RunConvert({kSample, "--threshold", "50", "--dxf-trace", dir.File("ref.dxf")});
  return ReadFileBytes(dir.File("ref.dxf"));
}

TEST(Batch, OneBadFileStopsNoOtherAndTheExitStatusSaysHowManySucceeded) {
  struct Case {
    int good;
    int broken;
    int exitStatus;
    const char* stem = "good";  // of the good inputs' names
    bool upToDate = false;      // the good inputs' outputs are there: --skip-existing skips them
  };
  const std::string reference = ReferenceTrace();
  // Braces in a name are the name's, not fields of a pattern. Skipped inputs
  // count as done: when the others all fail, some failed.
  for (const Case& c : {Case{3, 0, 0}, Case{3, 1, 4}, Case{0, 2, 5}, Case{2, 0, 0, "s{1}"},
                        Case{2, 1, 4, "p{name}"}, Case{1, 2, 4, "good", true}}) {
    TempDir dir;
    MakeInputs(dir, c.good, c.broken, c.stem);
    for (int i = 0; c.upToDate && i < c.good; ++i)
      WriteFileBytes(dir.File(c.stem + std::to_string(i) + ".dxf"), reference);
    std::vector<std::string> args =
        Args({"-j", "2", "--report", dir.File("report.jsonl"), "--recursive", dir.path()}, kTrace);
    if (c.upToDate)
      args.insert(args.begin(), "--skip-existing");
    ProgramResult result = RunConvert(args);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
    const std::string report = ReadFileBytes(dir.File("report.jsonl"));
    EXPECT_EQ(CountOccurrences(report, "\"status\":\"done\""), c.upToDate ? 0 : c.good) << report;
    EXPECT_EQ(CountOccurrences(report, "\"status\":\"skipped\""), c.upToDate ? c.good : 0);
    EXPECT_EQ(CountOccurrences(report, "\"status\":\"failed\""), c.broken) << report;
    EXPECT_EQ(CountOccurrences(report, "\"reason\":\"\""), c.good) << report;
    EXPECT_EQ(CountOccurrences(result.err, "broken"), c.broken) << result.err;
    for (const fs::path& dxf : FilesEndingIn(dir.path(), ".dxf"))
      EXPECT_EQ(ReadFileBytes(dxf), reference) << dxf;
    EXPECT_EQ(FilesEndingIn(dir.path(), ".dxf").size(), static_cast<std::size_t>(c.good));
    // The inputs, their outputs and the report: no part file is left.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2 * c.good + c.broken + 1);
  }
}

// The reason comes from each child's result record, not from its messages:
// whatever the input's name holds, and with an output under its own name.
TEST(Batch, TheReportGivesTheReasonEachConversionEndedWith) {
  struct Case {
    const char* input;
    bool picture;
    const char* output;
    const char* reason;
  };
  const Case cases[] = {
      {"broken.bmp", false, "{stem}.dxf", "not a picture file (.bmp, TIFF, PNG, JPEG or PNM)"},
      {"two\nlines.bmp", false, "{stem}.dxf", "not a picture file (.bmp, TIFF, PNG, JPEG or PNM)"},
      {"good.bmp", true, "file/{stem}.dxf", "file/good.dxf: Not a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    TempDir dir;
    if (c.picture)
      fs::copy_file(kSample, dir.File(c.input));
    else
      WriteFileBytes(dir.File(c.input), "not a picture\n");
    WriteFileBytes(dir.File("file"), "");
    const ProgramResult result = RunConvert(
        {"--report", "report.jsonl", c.input, "--threshold", "50", "--dxf-trace", c.output},
        dir.path());
    EXPECT_EQ(result.exitStatus, 5) << result.err;
    EXPECT_EQ(CountOccurrences(ReadFileBytes(dir.File("report.jsonl")),
                               "\"reason\":\"" + std::string(c.reason) + "\""),
              1);
  }
}

// The one-picture form writes its record where the variable says, and its
// messages as ever.
TEST(Batch, TheOnePictureFormWritesOneResultRecordWhereItIsAsked) {
  struct Case {
    std::vector<std::string> args;
    const char* record;
    const char* err;
  };
  const Case cases[] = {
      {{kSample, "--dither1"}, "status=0 reason=\n", ""},
      {{"broken.bmp", "--dither1"},
       "status=1 reason=not a picture file (.bmp, TIFF, PNG, JPEG or PNM)\n",
       "qov-convert: broken.bmp: not a picture file (.bmp, TIFF, PNG, JPEG or PNM)\n"},
      {{kSample, "--save-bmp", "file/out.bmp"},
       "status=3 reason=file/out.bmp: Not a directory\n",
       "qov-convert: file/out.bmp: Not a directory\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    TempDir dir;
    WriteFileBytes(dir.File("broken.bmp"), "not a picture\n");
    WriteFileBytes(dir.File("file"), "");
    std::string command = "QOV_CONVERT_RESULT_FD=3 exec " + ShellQuote(QOV_CONVERT_PATH);
    for (const std::string& arg : c.args)
      command += " " + ShellQuote(arg);
    const ProgramResult result = RunShell(command + " 3>record", dir.path());
    EXPECT_EQ(ReadFileBytes(dir.File("record")), c.record);
    EXPECT_EQ(result.err, c.err);
  }
}

TEST(Batch, AnInterruptedRunLeavesNoHalfFileAndTheNextDoesTheRestOnce) {
  constexpr int kInputs = 60;
  TempDir dir;
  MakeInputs(dir, kInputs);
  std::vector<std::string> args =
      Args({QOV_CONVERT_PATH, "-j", "1", "--recursive", dir.path()}, kTrace);
  std::vector<char*> argv;
  for (auto& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (FilesEndingIn(dir.path(), ".dxf").empty() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);

  const std::string reference = ReferenceTrace();
  const std::size_t doneBefore = FilesEndingIn(dir.path(), ".dxf").size();
  ASSERT_GT(doneBefore, 0u);
  ASSERT_LT(doneBefore, static_cast<std::size_t>(kInputs)) << "the run ended before the signal";
  EXPECT_TRUE(FilesEndingIn(dir.path(), ".qov-part-" + std::to_string(pid)).empty());
  for (const fs::path& dxf : FilesEndingIn(dir.path(), ".dxf"))
    EXPECT_EQ(ReadFileBytes(dxf), reference) << dxf;

  ProgramResult resumed = RunConvert(
      Args({"--skip-existing", "--report", dir.File("report.jsonl"), "--recursive", dir.path()},
           kTrace));
  EXPECT_EQ(resumed.exitStatus, 0) << resumed.err;
  const std::string report = ReadFileBytes(dir.File("report.jsonl"));
  EXPECT_EQ(CountOccurrences(report, "\"status\":\"skipped\""), static_cast<int>(doneBefore));
  EXPECT_EQ(CountOccurrences(report, "\"status\":\"done\""),
            kInputs - static_cast<int>(doneBefore));
  for (const fs::path& dxf : FilesEndingIn(dir.path(), ".dxf"))
    EXPECT_EQ(ReadFileBytes(dxf), reference) << dxf;
}

// The part file that the run `pid` on this machine writes for `output`.
std::string PartFile(const std::string& output, pid_t pid) {
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  const fs::path path(output);
  return (path.parent_path() /
          ("." + path.filename().string() + "." + host + ".qov-part-" + std::to_string(pid)))
      .string();
}

TEST(Batch, AKilledRunEndsItsConversionsAndTheNextRemovesTheirPartFiles) {
  TempDir dir;
  MakeInputs(dir, 1);
  const std::string output = dir.File("good0.dxf");
  // The part file of a run that is still going is left alone.
  WriteFileBytes(PartFile(output, getpid()), "x");
  std::vector<std::string> args{QOV_CONVERT_PATH,
                                "--quiet",
                                dir.File("good0.bmp"),
                                "--threshold",
                                "50",
                                "--dxf-lines",
                                output,
                                "--dxf-crosses",
                                "-"};
  std::vector<char*> argv;
  for (auto& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  // The conversion, orphaned, comes to this test, which can then tell how it ended.
  ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  // Its file is written before its crosses go to standard output, more than
  // the pipe holds: it waits there for this test to read them.
  char buffer[1 << 16];
  ASSERT_EQ(read(out[0], buffer, 1), 1);
  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  while (read(out[0], buffer, sizeof buffer) > 0) {
  }
  close(out[0]);
  const pid_t orphan = waitpid(-1, &status, 0);
  prctl(PR_SET_CHILD_SUBREAPER, 0);
  ASSERT_GT(orphan, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "it ran on: " << status;
  EXPECT_TRUE(FileExists(PartFile(output, pid)));
  EXPECT_FALSE(FileExists(output));

  ProgramResult next = RunConvert({"--quiet", dir.File("good0.bmp"), "--dxf-lines", output});
  EXPECT_EQ(next.exitStatus, 0) << next.err;
  EXPECT_FALSE(FileExists(PartFile(output, pid)));
  EXPECT_TRUE(FileExists(PartFile(output, getpid())));
}

TEST(Batch, TheProgressLineIsDrawnOnlyOnATerminal) {
  struct Case {
    bool terminal;
    bool quiet;
  };
  TempDir dir;
  MakeInputs(dir, 3);
  for (const Case& c : {Case{true, false}, Case{true, true}, Case{false, false}}) {
    std::string command = ShellQuote(QOV_CONVERT_PATH) +
                          (c.quiet ? " --quiet --recursive " : " --recursive ") +
                          ShellQuote(dir.path()) + " --threshold 50";
    // script(1) gives the program a pseudo-terminal and copies what it shows.
    ProgramResult result = c.terminal
                               ? RunShell("script -qec " + ShellQuote(command) + " /dev/null")
                               : RunShell(command);
    const std::string shown = result.out + result.err;
    EXPECT_EQ(result.exitStatus, 0) << shown;
    const bool drawn = shown.find("\r[3/3]") != std::string::npos;
    EXPECT_EQ(drawn, c.terminal && !c.quiet) << testing::PrintToString(shown);
    if (!c.terminal) {
      EXPECT_EQ(shown.find_first_of("\r\x1b"), std::string::npos) << testing::PrintToString(shown);
    }
  }
}

TEST(Batch, ShardsSpreadByGnuParallelDoTheWorkOfOneRun) {
  if (RunShell("command -v parallel").exitStatus != 0)
    GTEST_SKIP() << "GNU parallel is not installed";
  TempDir dir;
  MakeInputs(dir, 5);
  std::ofstream list(dir.File("list.txt"));
  for (const fs::path& input : FilesEndingIn(dir.path(), ".bmp"))
    list << input.string() << '\n';
  list.close();
  ProgramResult result = RunShell("parallel -j 2 " + ShellQuote(QOV_CONVERT_PATH) +
                                      " --quiet --shard {}/2 @list.txt --threshold 50"
                                      " --dxf-trace 'out/{stem}.dxf' ::: 1 2",
                                  dir.path());
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::string reference = ReferenceTrace();
  EXPECT_EQ(FilesEndingIn(dir.path() / "out", ".dxf").size(), 5u);
  for (const fs::path& dxf : FilesEndingIn(dir.path() / "out", ".dxf"))
    EXPECT_EQ(ReadFileBytes(dxf), reference) << dxf;
}

}  // namespace
}  // namespace qov::test
