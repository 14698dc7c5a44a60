#pragma once
// Runs programs as separate processes, as scripts do.

#include <string>

#include "tests/support/TempDir.h"

namespace qov::test {

struct ProgramResult {
  int exitStatus = -1;  // -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs `command` with /bin/sh in `workingDir`, without standard input,
// standard output and standard error captured.
ProgramResult RunShell(const std::string& command, const std::string& workingDir = {});

// `text` quoted for /bin/sh.
std::string ShellQuote(const std::string& text);

bool FileExists(const std::string& path);

}  // namespace qov::test
