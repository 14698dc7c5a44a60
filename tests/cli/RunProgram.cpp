#include "tests/cli/RunProgram.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace qov::test {
ProgramResult RunConvert(const std::vector<std::string>& args, const std::string& workingDir) {
  TempDir capture;
  std::string outPath = capture / "out", errPath = capture / "err";
  std::string command = "cd '" + (workingDir.empty() ? std::string(".") : workingDir) +
                        "' && exec '" QOV_CONVERT_PATH "'";
  for (const auto& arg : args)
    command += " '" + arg + "'";
  command += " >'" + outPath + "' 2>'" + errPath + "' </dev/null";

  std::vector<char*> argv{const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), command.data(),
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

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool FileExists(const std::string& path) {
  return std::filesystem::exists(path);
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qov-test-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(m_path, ec);
}

}  // namespace qov::test
