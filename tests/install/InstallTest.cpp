// `cmake --install` of this build into a temporary prefix: the programs, the
// man pages, and with the desktop program its desktop entry and icons; and
// the installed programs work from there.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "res/VersionInfo.h"
#include "tests/support/RunProgram.h"

namespace qov::test {
namespace {

namespace fs = std::filesystem;

// What a command wrote to both outputs.
std::string Output(const ProgramResult& result) {
  return result.out + result.err;
}

bool HaveTool(const std::string& name) {
  return RunShell("command -v " + name).exitStatus == 0;
}

// Width and height from a PNG file's header chunk; {0, 0} if it is none.
std::pair<std::uint32_t, std::uint32_t> PngSize(const fs::path& path) {
  const std::string bytes = ReadFileBytes(path);
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
      bytes.compare(12, 4, "IHDR") != 0) {
    return {0, 0};
  }
  auto be32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
      v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  return {be32(16), be32(20)};
}

// The keys of a desktop entry, as "Group/Key".
std::map<std::string, std::string> ReadDesktopEntry(const fs::path& path) {
  std::map<std::string, std::string> keys;
  std::istringstream in(ReadFileBytes(path));
  std::string line;
  std::string group;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#')
      continue;
    if (line.front() == '[' && line.back() == ']') {
      group = line.substr(1, line.size() - 2);
    } else if (const auto eq = line.find('='); eq != std::string::npos) {
      keys[group + "/" + line.substr(0, eq)] = line.substr(eq + 1);
    }
  }
  return keys;
}

class InstallTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new TempDir;
    prefix = new fs::path(dir->path() / "prefix");
    installed = new ProgramResult(RunShell(ShellQuote(QOV_CMAKE_COMMAND) + " --install " +
                                           ShellQuote(QOV_BINARY_DIR) + " --prefix " +
                                           ShellQuote(prefix->string())));
  }
  static void TearDownTestSuite() {
    delete installed;
    delete prefix;
    delete dir;
  }
  void SetUp() override { ASSERT_EQ(installed->exitStatus, 0) << Output(*installed); }

  static inline TempDir* dir = nullptr;
  static inline fs::path* prefix = nullptr;
  static inline ProgramResult* installed = nullptr;
};

TEST_F(InstallTest, ProgramsAndManPagesAreInstalled) {
  std::vector<std::string> expected = {"bin/qov-convert", "share/man/man1/qov.1",
                                       "share/man/man1/qov-convert.1"};
  if (QOV_WITH_QT)
    expected.push_back("bin/qov");
  for (const std::string& file : expected) {
    const fs::path path = *prefix / file;
    ASSERT_TRUE(fs::is_regular_file(path)) << file;
    if (file.starts_with("bin/")) {
      EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::none) << file;
    }
  }
}

TEST_F(InstallTest, ManPagesCarryTheVersionAndFormatWithoutWarnings) {
  const std::string version = version::FormatVersion(version::kFileVersion);
  for (const char* page : {"qov.1", "qov-convert.1"}) {
    const fs::path path = *prefix / "share/man/man1" / page;
    EXPECT_NE(ReadFileBytes(path).find("\"QOV " + version + "\""), std::string::npos) << page;
    if (HaveTool("groff")) {
      const ProgramResult formatted =
          RunShell("groff -k -man -Tutf8 -ww -z " + ShellQuote(path.string()));
      EXPECT_EQ(formatted.exitStatus, 0) << page;
      EXPECT_EQ(Output(formatted), "") << page;
    }
  }
}

TEST_F(InstallTest, InstalledConverterWorks) {
  const fs::path output = prefix->parent_path() / "drawing.dxf";
  const ProgramResult converted =
      RunShell(ShellQuote((*prefix / "bin/qov-convert").string()) + " " +
               ShellQuote(QOV_SOURCE_DIR "/res/samples/drawing-1.bmp") + " --dxf-crosses " +
               ShellQuote(output.string()));
  EXPECT_EQ(converted.exitStatus, 0) << Output(converted);
  EXPECT_EQ(ReadFileBytes(output).substr(0, 9), "0\nSECTION") << "not a DXF file";
}

class DesktopInstallTest : public InstallTest {
 protected:
  void SetUp() override {
    if (!QOV_WITH_QT)
      GTEST_SKIP() << "built without the desktop program";
    InstallTest::SetUp();
  }
};

TEST_F(DesktopInstallTest, VersionNeedsNoDisplay) {
  const ProgramResult shown = RunShell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                       ShellQuote((*prefix / "bin/qov").string()) + " --version");
  EXPECT_EQ(shown.exitStatus, 0);
  EXPECT_EQ(Output(shown), version::VersionText("qov"));
}

TEST_F(DesktopInstallTest, DesktopEntryOpensAndPrintsBitmapsWithTheInstalledProgram) {
  const fs::path entry = *prefix / "share/applications/qov.desktop";
  ASSERT_TRUE(fs::is_regular_file(entry));
  const auto keys = ReadDesktopEntry(entry);
  const std::string program = (*prefix / "bin/qov").string();
  const std::map<std::string, std::string> expected = {
      {"Desktop Entry/Type", "Application"},
      {"Desktop Entry/Name", "QOV"},
      {"Desktop Entry/Exec", program + " %f"},
      {"Desktop Entry/TryExec", program},
      {"Desktop Entry/Icon", "qov"},
      {"Desktop Entry/MimeType",
       "image/bmp;image/x-bmp;image/tiff;image/png;image/jpeg;image/x-portable-bitmap;image/"
       "x-portable-graymap;image/x-portable-pixmap;image/x-portable-anymap;"},
      {"Desktop Entry/Actions", "print;"},
      {"Desktop Entry/Comment", version::kComments},
      {"Desktop Entry/X-QOV-Version", version::FormatVersion(version::kFileVersion)},
      {"Desktop Entry/X-QOV-DocumentType", "bmp.Document"},
      {"Desktop Entry/X-QOV-DocumentTypeName", "BMP Document"},
      {"Desktop Action print/Exec", program + " /p %f"},
  };
  for (const auto& [key, value] : expected) {
    const auto found = keys.find(key);
    ASSERT_NE(found, keys.end()) << key;
    EXPECT_EQ(found->second, value) << key;
  }
  if (!HaveTool("desktop-file-validate")) {
    GTEST_SKIP() << "desktop-file-validate is not installed";
  }
  const ProgramResult validated = RunShell("desktop-file-validate " + ShellQuote(entry.string()));
  EXPECT_EQ(validated.exitStatus, 0) << Output(validated);
  EXPECT_EQ(Output(validated), "") << "hints or warnings";
}

TEST_F(DesktopInstallTest, IconsComeInTheThemesSizes) {
  const fs::path hicolor = *prefix / "share/icons/hicolor";
  for (std::uint32_t size : {16u, 32u, 48u, 64u, 128u, 256u}) {
    const std::string dim = std::to_string(size) + "x" + std::to_string(size);
    const fs::path png = hicolor / dim / "apps/qov.png";
    ASSERT_TRUE(fs::is_regular_file(png)) << dim;
    EXPECT_EQ(PngSize(png), std::make_pair(size, size)) << dim;
  }
  const std::string svg = ReadFileBytes(hicolor / "scalable/apps/qov.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
}

}  // namespace
}  // namespace qov::test
