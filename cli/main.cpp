// qov-convert: the desktop program's commands without windows.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/ConvertOptions.h"
#include "cli/Converter.h"
#include "res/VersionInfo.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  qov::ParsedOptions parsed = qov::ParseConvertOptions(args);
  if (!parsed.options) {
    std::cerr << "qov-convert: " << parsed.error << "\nTry 'qov-convert --help'.\n";
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
  return qov::RunConversion(*parsed.options, std::cerr, isatty(STDERR_FILENO) != 0);
}
