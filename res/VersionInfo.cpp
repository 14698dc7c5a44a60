#include "res/VersionInfo.h"

#include <algorithm>
#include <cstdio>

namespace qov::version {
namespace {

// "0411 04b0": language and code page in hexadecimal, as the resource's
// translation table gives them.
std::string FormatTranslation() {
  char text[16];
  std::snprintf(text, sizeof text, "%04x %04x", static_cast<unsigned>(kLanguage),
                static_cast<unsigned>(kCodePage));
  return text;
}

}  // namespace

std::string FormatVersion(const std::array<WORD, 4>& version) {
  return std::to_string(version[0]) + '.' + std::to_string(version[1]) + '.' +
         std::to_string(version[2]) + '.' + std::to_string(version[3]);
}

const std::array<StringEntry, 10>& Strings() {
  static const std::string fileVersion = FormatVersion(kFileVersion);
  static const std::string productVersion = FormatVersion(kProductVersion);
  static const std::string translation = FormatTranslation();
  static const std::array<StringEntry, 10> strings{{
      {"Comments", kComments},
      {"CompanyName", kCompanyName},
      {"FileDescription", kFileDescription},
      {"FileVersion", fileVersion},
      {"InternalName", kInternalName},
      {"LegalCopyright", kLegalCopyright},
      {"OriginalFilename", kOriginalFilename},
      {"ProductName", kProductName},
      {"ProductVersion", productVersion},
      {"Translation", translation},
  }};
  return strings;
}

std::string_view QueryValue(std::string_view name) {
  const auto& strings = Strings();
  const auto found = std::find_if(strings.begin(), strings.end(),
                                  [&](const StringEntry& entry) { return entry.name == name; });
  return found == strings.end() ? std::string_view() : found->value;
}

std::string VersionText(std::string_view program) {
  std::string text = std::string(program) + " (" + kProductName + ") " +
                     std::string(QueryValue("FileVersion")) + '\n';
  for (const StringEntry& entry : Strings()) {
    text += std::string(entry.name) + ": " + std::string(entry.value) + '\n';
  }
  return text;
}

}  // namespace qov::version
