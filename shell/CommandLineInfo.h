#pragma once
// The framework's standard command line: a file to open, the print
// switches, DDE and the automation switches.

#include <string>
#include <vector>

namespace qov {

class CCommandLineInfo {
 public:
  enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister };

  virtual ~CCommandLineInfo() = default;

  // One argument; `flag` when it was a switch (its '/' or '-' removed),
  // `last` for the final argument.
  virtual void ParseParam(const std::string& param, bool flag, bool last);

  ShellCommand m_nShellCommand = FileNew;
  bool m_bShowSplash = true;
  bool m_bRunEmbedded = false;
  bool m_bRunAutomated = false;
  std::string m_strFileName;
  std::string m_strPrinterName;
  std::string m_strDriverName;
  std::string m_strPortName;

 private:
  void ParseParamFlag(const std::string& flag);
  void ParseParamNotFlag(const std::string& param);
  void ParseLast(bool last);
};

// Hands every argument after the program name to info.ParseParam. Only the
// switches the framework knows count as switches: a path that begins with
// '/' is a file name here, not a switch.
void ParseCommandLineArgs(const std::vector<std::string>& args, CCommandLineInfo& info);

}  // namespace qov
