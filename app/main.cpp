// qov, the desktop program.

#include <cstdio>
#include <string_view>

#include "app/QOV_V2App.h"
#include "res/SystemResources.h"
#include "res/VersionInfo.h"
#include "shell/qt/QtAppBackend.h"

namespace {

constexpr const char* kUsage = R"(Usage: qov [FILE.bmp]
       qov /p FILE.bmp                        print FILE on the default printer
       qov /pt FILE.bmp PRINTER [DRIVER PORT]  print FILE on PRINTER
       qov /Automation | /Embedding            run as an automation server
       qov --version | --help

Opens FILE (a Windows bitmap) in the QOV window; with a QOV window already
open, hands FILE to it. The batch converter is qov-convert(1).
)";

}  // namespace

int main(int argc, char** argv) {
  // Before the application object, whose name is a string resource.
  qov::SetResources(&qov::SystemResources());
  // Answered before any window system is asked for: they need no display.
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::fputs(qov::version::VersionText("qov").c_str(), stdout);
    return 0;
  }
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  qov::CQOV_V2App theApp;
  return qov::RunQtApplication(argc, argv, theApp);
}
