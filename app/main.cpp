// qov, the desktop program.

#include <cstdio>
#include <string_view>

#include "app/QOV_V2App.h"
#include "platform/qt/QtAppBackend.h"
#include "res/VersionInfo.h"

int main(int argc, char** argv) {
  // Answered before any window system is asked for: it needs no display.
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::fputs(qov::version::VersionText("qov").c_str(), stdout);
    return 0;
  }
  qov::CQOV_V2App theApp;
  return qov::RunQtApplication(argc, argv, theApp);
}
