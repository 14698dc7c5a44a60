#pragma once
// The version resource: the numbers and texts that `qov --version`, the
// desktop entry and the About box show.

#include <array>
#include <string>
#include <string_view>

#include "platform/Types.h"

namespace qov::version {

inline constexpr std::array<WORD, 4> kFileVersion{2, 0, 4, 0};
inline constexpr std::array<WORD, 4> kProductVersion{2, 0, 4, 0};
// Japanese, Unicode.
inline constexpr WORD kLanguage = 0x0411;
inline constexpr WORD kCodePage = 1200;

inline constexpr const char* kComments = "ビットマップファイルをDXFファイルへ変換";
inline constexpr const char* kCompanyName = "QOV 開発者";
inline constexpr const char* kFileDescription = "QOV MFC ｱﾌﾟﾘｹｰｼｮﾝ";
inline constexpr const char* kInternalName = "QOV";
inline constexpr const char* kLegalCopyright = "Copyright (C) QOV 開発者";
inline constexpr const char* kOriginalFilename = "QOV.EXE";
inline constexpr const char* kProductName = "QOV ｱﾌﾟﾘｹｰｼｮﾝ";

struct StringEntry {
  std::string_view name;
  std::string_view value;
};

// "2.0.4.0".
std::string FormatVersion(const std::array<WORD, 4>& version);
// The string table of the resource, in its order, with the two version
// numbers as text.
const std::array<StringEntry, 10>& Strings();
// The value of the string `name`; "" when the resource has none.
std::string_view QueryValue(std::string_view name);
// What `program --version` prints: a first line with the product and the
// file version, then every string of the resource as "Name: value".
std::string VersionText(std::string_view program);

}  // namespace qov::version
