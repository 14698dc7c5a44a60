#include "tests/support/RunProgram.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace qov::test {

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

ProgramResult RunShell(const std::string& command, const std::string& workingDir) {
  TempDir capture;
  std::string outPath = capture.File("out"), errPath = capture.File("err");
  std::string line = "cd " + ShellQuote(workingDir.empty() ? std::string(".") : workingDir) +
                     " && " + command + " >" + ShellQuote(outPath) + " 2>" + ShellQuote(errPath) +
                     " </dev/null";
  std::vector<char*> argv{const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), line.data(),
                          nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start /bin/sh");
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ProgramResult result;
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadFileBytes(outPath);
  result.err = ReadFileBytes(errPath);
  return result;
}

bool FileExists(const std::string& path) {
  return std::filesystem::exists(path);
}

}  // namespace qov::test
