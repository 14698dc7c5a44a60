#include <gtest/gtest.h>

#include "shell/CommandLineInfo.h"

namespace qov {
namespace {

TEST(CommandLine, StandardSwitchesAndFileNames) {
  using C = CCommandLineInfo;
  struct Case {
    std::vector<std::string> args;
    C::ShellCommand command;
    std::string file;
    std::string printer;
    bool embedded;
    bool automated;
  };
  const std::vector<Case> cases{
      {{}, C::FileNew, "", "", false, false},
      {{"a.bmp"}, C::FileOpen, "a.bmp", "", false, false},
      // A path that begins with '/' is a file, not a switch.
      {{"/home/u/p.bmp"}, C::FileOpen, "/home/u/p.bmp", "", false, false},
      {{"/p", "a.bmp"}, C::FilePrint, "a.bmp", "", false, false},
      {{"-P", "a.bmp"}, C::FilePrint, "a.bmp", "", false, false},
      {{"/pt", "a.bmp", "Laser", "drv", "port"}, C::FilePrintTo, "a.bmp", "Laser", false, false},
      {{"/dde"}, C::FileDDE, "", "", false, false},
      {{"/Automation"}, C::FileNew, "", "", false, true},
      {{"-embedding"}, C::FileNew, "", "", true, false},
      {{"/Unregister"}, C::AppUnregister, "", "", false, false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> argv{"qov"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    CCommandLineInfo info;
    ParseCommandLineArgs(argv, info);
    SCOPED_TRACE(argv.size() > 1 ? argv[1] : "(none)");
    EXPECT_EQ(info.m_nShellCommand, c.command);
    EXPECT_EQ(info.m_strFileName, c.file);
    EXPECT_EQ(info.m_strPrinterName, c.printer);
    EXPECT_EQ(info.m_bRunEmbedded, c.embedded);
    EXPECT_EQ(info.m_bRunAutomated, c.automated);
    EXPECT_EQ(info.m_bShowSplash, !c.embedded && !c.automated);
  }
}

}  // namespace
}  // namespace qov
