// The version resource as `qov --version` prints it.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "res/VersionInfo.h"

namespace qov {
namespace {

TEST(VersionInfo, VersionTextGivesTheVersionThenEveryStringOfTheResource) {
  const std::string text = version::VersionText("qov");
  std::istringstream lines(text);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "qov (QOV ｱﾌﾟﾘｹｰｼｮﾝ) 2.0.4.0");
  for (const version::StringEntry& entry : version::Strings()) {
    const std::string want = std::string(entry.name) + ": " + std::string(entry.value);
    ASSERT_TRUE(std::getline(lines, line)) << "missing " << want;
    EXPECT_EQ(line, want);
  }
  EXPECT_FALSE(std::getline(lines, line)) << "unexpected " << line;
}

// Besides the version, the strings the program is known by; the company and
// the rights are its developers' to name.
TEST(VersionInfo, ResourceHoldsTheBuildsVersionAndTheStringsTheProgramIsKnownBy) {
  EXPECT_EQ(version::FormatVersion(version::kFileVersion), QOV_PROJECT_VERSION);
  const std::pair<const char*, const char*> rows[] = {
      {"ProductVersion", QOV_PROJECT_VERSION},
      {"Comments", "ビットマップファイルをDXFファイルへ変換"},
      {"FileDescription", "QOV MFC ｱﾌﾟﾘｹｰｼｮﾝ"},
      {"InternalName", "QOV"},
      {"OriginalFilename", "QOV.EXE"},
      {"ProductName", "QOV ｱﾌﾟﾘｹｰｼｮﾝ"},
      {"Translation", "0411 04b0"},
      {"NoSuchString", ""},
  };
  for (const auto& [name, value] : rows)
    EXPECT_EQ(version::QueryValue(name), value) << name;
}

}  // namespace
}  // namespace qov
