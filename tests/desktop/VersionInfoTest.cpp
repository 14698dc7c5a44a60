// The version resource as `qov --version` prints it.

#include <gtest/gtest.h>

#include <sstream>

#include "res/VersionInfo.h"

namespace qov {
namespace {

TEST(VersionInfo, VersionTextGivesTheVersionThenEveryStringOfTheResource) {
  const std::string text = version::VersionText("qov");
  std::istringstream lines(text);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "qov (QOV ｱﾌﾟﾘｹｰｼｮﾝ) 2.0.4.0");
  const char* expected[] = {
      "Comments: ビットマップファイルをDXFファイルへ変換",
      "CompanyName: QOV 開発者",
      "FileDescription: QOV MFC ｱﾌﾟﾘｹｰｼｮﾝ",
      "FileVersion: 2.0.4.0",
      "InternalName: QOV",
      "LegalCopyright: Copyright (C) QOV 開発者",
      "OriginalFilename: QOV.EXE",
      "ProductName: QOV ｱﾌﾟﾘｹｰｼｮﾝ",
      "ProductVersion: 2.0.4.0",
      "Translation: 0411 04b0",
  };
  for (const char* want : expected) {
    ASSERT_TRUE(std::getline(lines, line)) << "missing " << want;
    EXPECT_EQ(line, want);
  }
  EXPECT_FALSE(std::getline(lines, line)) << "unexpected " << line;
}

TEST(VersionInfo, ResourceVersionIsTheBuildsVersion) {
  EXPECT_EQ(version::FormatVersion(version::kFileVersion), QOV_PROJECT_VERSION);
  EXPECT_EQ(version::QueryValue("ProductVersion"), QOV_PROJECT_VERSION);
  EXPECT_EQ(version::QueryValue("NoSuchString"), "");
}

}  // namespace
}  // namespace qov
