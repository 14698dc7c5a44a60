#pragma once
// Runs qov-convert of this build as a separate process, as scripts do.

#include <string>
#include <vector>

#include "tests/support/RunProgram.h"

namespace qov::test {

// qov-convert with `args` in `workingDir` (the current folder when empty),
// standard output and standard error captured.
inline ProgramResult RunConvert(const std::vector<std::string>& args,
                                const std::string& workingDir = {}) {
  std::string command = "exec " + ShellQuote(QOV_CONVERT_PATH);
  for (const auto& arg : args)
    command += " " + ShellQuote(arg);
  return RunShell(command, workingDir);
}

}  // namespace qov::test
