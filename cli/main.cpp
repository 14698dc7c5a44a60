// qov-convert: the desktop program's commands without windows.

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Batch.h"
#include "cli/BatchPlan.h"
#include "cli/BatchResult.h"
#include "cli/ConvertOptions.h"
#include "cli/Converter.h"
#include "cli/OutputPattern.h"
#include "res/SystemResources.h"
#include "res/VersionInfo.h"

namespace {

// This very program, to convert each input of a run over many.
std::string SelfPath(const char* argv0) {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(argv0) : self.string();
}

}  // namespace

int main(int argc, char** argv) {
  qov::SetResources(&qov::SystemResources());
  std::vector<std::string> args(argv + 1, argv + argc);
  qov::ParsedOptions parsed = qov::ParseConvertOptions(args);
  if (!parsed.options) {
    std::cerr << "qov-convert: " << parsed.error << "\nTry 'qov-convert --help'.\n";
    qov::SendBatchResult({qov::kExitUsage, parsed.error});
    return qov::kExitUsage;
  }
  if (parsed.options->version) {
    std::cout << qov::version::VersionText("qov-convert");
    return qov::kExitDone;
  }
  if (parsed.options->help) {
    std::cout << qov::ConvertUsage();
    return qov::kExitDone;
  }
  const bool terminal = isatty(STDERR_FILENO) != 0;
  if (!parsed.options->IsSingle()) {
    return qov::RunBatch(*parsed.options, SelfPath(argv[0]), std::cin, std::cerr, terminal);
  }
  qov::ConvertOptions single = *parsed.options;
  std::string error;
  // An output over the input would destroy the picture as it is converted.
  if (!qov::ExpandOutputs(single.operations, single.inputs[0], single.page, {}, error) ||
      !qov::CheckCollisions({{single.inputs[0], single.operations}}, {}, error)) {
    std::cerr << "qov-convert: " << error << "\nTry 'qov-convert --help'.\n";
    qov::SendBatchResult({qov::kExitUsage, error});
    return qov::kExitUsage;
  }
  const qov::ConvertExit exit = qov::RunConversion(single, std::cerr, terminal, error);
  qov::SendBatchResult({exit, error});
  return exit;
}
