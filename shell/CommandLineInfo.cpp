#include "shell/CommandLineInfo.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace qov {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

constexpr std::array<std::string_view, 7> kSwitches{
    "p", "pt", "dde", "Embedding", "Automation", "Unregister", "Unregserver"};

bool IsSwitch(const std::string& arg) {
  if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-'))
    return false;
  std::string_view name(arg);
  name.remove_prefix(1);
  return std::any_of(kSwitches.begin(), kSwitches.end(),
                     [&](std::string_view s) { return EqualsNoCase(s, name); });
}

}  // namespace

void CCommandLineInfo::ParseParam(const std::string& param, bool flag, bool last) {
  if (flag) {
    ParseParamFlag(param);
  } else {
    ParseParamNotFlag(param);
  }
  ParseLast(last);
}

void CCommandLineInfo::ParseParamFlag(const std::string& flag) {
  if (EqualsNoCase(flag, "pt")) {
    m_nShellCommand = FilePrintTo;
  } else if (EqualsNoCase(flag, "p")) {
    m_nShellCommand = FilePrint;
  } else if (EqualsNoCase(flag, "Unregister") || EqualsNoCase(flag, "Unregserver")) {
    m_nShellCommand = AppUnregister;
  } else if (EqualsNoCase(flag, "dde")) {
    m_nShellCommand = FileDDE;
  } else if (EqualsNoCase(flag, "Embedding")) {
    m_bRunEmbedded = true;
    m_bShowSplash = false;
  } else if (EqualsNoCase(flag, "Automation")) {
    m_bRunAutomated = true;
    m_bShowSplash = false;
  }
}

void CCommandLineInfo::ParseParamNotFlag(const std::string& param) {
  if (m_strFileName.empty()) {
    m_strFileName = param;
  } else if (m_nShellCommand == FilePrintTo && m_strPrinterName.empty()) {
    m_strPrinterName = param;
  } else if (m_nShellCommand == FilePrintTo && m_strDriverName.empty()) {
    m_strDriverName = param;
  } else if (m_nShellCommand == FilePrintTo && m_strPortName.empty()) {
    m_strPortName = param;
  }
}

void CCommandLineInfo::ParseLast(bool last) {
  if (last && m_nShellCommand == FileNew && !m_strFileName.empty()) {
    m_nShellCommand = FileOpen;
  }
  if (last)
    m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
}

void ParseCommandLineArgs(const std::vector<std::string>& args, CCommandLineInfo& info) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const bool flag = IsSwitch(args[i]);
    info.ParseParam(flag ? args[i].substr(1) : args[i], flag, i + 1 == args.size());
  }
}

}  // namespace qov
