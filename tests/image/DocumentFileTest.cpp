// The document's new, open and save: read first and replace second, and a
// save that loses nothing when it fails.

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "ImageTestSupport.h"
#include "image/QOV_V2Doc.h"

namespace qov::test {
namespace fs = std::filesystem;
namespace {

const std::string kPicture = SuiteFile("g/pal8.bmp");
const std::string kOther = SuiteFile("g/rgb24.bmp");

// A document holding the picture of `path`, marked modified.
void OpenModified(CQOV_V2Doc& doc, const std::string& path) {
  ASSERT_TRUE(doc.OnOpenDocument(path)) << doc.GetFailureReason();
  doc.SetModifiedFlag(true);
}

// The bytes WriteDibFile gives for the document's picture.
Bytes Expected(const CQOV_V2Doc& doc) {
  TempDir dir;
  {
    CFile file(dir.File("x.bmp"), CFile::modeCreate | CFile::modeWrite);
    EXPECT_TRUE(WriteDibFile(doc.m_hDib, file));
    file.Close();
  }
  return ReadBytes(dir.File("x.bmp"));
}

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(DocumentOpen, OpensAndClearsTheModifiedFlag) {
  CQOV_V2Doc doc;
  doc.SetModifiedFlag(true);
  ASSERT_TRUE(doc.OnOpenDocument(kPicture));
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.GetFailureReason(), "");
  doc.UpdateImageSize();
  EXPECT_EQ(doc.m_nWidth, 127);
  EXPECT_EQ(doc.m_nHeight, 64);
}

struct OpenFailure {
  const char* name;
  std::function<std::string(const TempDir&)> path;  // made in the folder
  const char* reason;
};

void PrintTo(const OpenFailure& c, std::ostream* os) {
  *os << c.name;
}

class DocumentOpenFailure : public ::testing::TestWithParam<OpenFailure> {};

// The old picture and the modified flag stay; the reason says why.
TEST_P(DocumentOpenFailure, LeavesTheDocumentAsItWas) {
  TempDir dir;
  CQOV_V2Doc doc;
  OpenModified(doc, kPicture);
  const HGLOBAL before = doc.m_hDib;
  EXPECT_FALSE(doc.OnOpenDocument(GetParam().path(dir)));
  EXPECT_EQ(doc.GetFailureReason(), GetParam().reason);
  EXPECT_EQ(doc.m_hDib, before);
  EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, DocumentOpenFailure,
    ::testing::Values(OpenFailure{"Missing", [](const TempDir& d) { return d.File("missing.bmp"); },
                                  "No such file or directory"},
                      OpenFailure{"Folder", [](const TempDir& d) { return d.path().string(); },
                                  "Is a directory"},
                      OpenFailure{"Empty",
                                  [](const TempDir& d) {
                                    WriteBytes(d.File("empty.bmp"), {});
                                    return d.File("empty.bmp");
                                  },
                                  "not a picture file (.bmp, TIFF, PNG, JPEG or PNM)"},
                      OpenFailure{"Truncated",
                                  [](const TempDir& d) {
                                    Bytes b = ReadBytes(kOther);
                                    b.resize(b.size() / 2);
                                    WriteBytes(d.File("half.bmp"), b);
                                    return d.File("half.bmp");
                                  },
                                  "the pixel data is cut short"},
                      OpenFailure{"UnsupportedBitCount",
                                  [](const TempDir& d) {
                                    Bytes b = ReadBytes(kPicture);
                                    b[28] = 2;
                                    WriteBytes(d.File("two.bmp"), b);
                                    return d.File("two.bmp");
                                  },
                                  "unsupported number of bits per pixel"}));

// Run-length data that stops before the last row opens, the rest black, and
// the document keeps the warning until the next picture opens.
TEST(DocumentOpen, RunLengthFileThatEndsEarlyOpensWithAWarning) {
  DibFields fields;
  fields.width = 2;
  fields.height = 2;
  fields.bitCount = 8;
  fields.compression = 1;
  fields.colorTable = {kRed};
  fields.pixels = {2, 0};
  TempDir dir;
  WriteBytes(dir.File("cut.bmp"), MakeBmpFile(fields));
  CQOV_V2Doc doc;
  ASSERT_TRUE(doc.OnOpenDocument(dir.File("cut.bmp"))) << doc.GetFailureReason();
  EXPECT_EQ(doc.GetReadWarning(), DibReadError::TruncatedPixels);
  EXPECT_FALSE(doc.OnOpenDocument(dir.File("missing.bmp")));
  EXPECT_EQ(doc.GetReadWarning(), DibReadError::TruncatedPixels);
  ASSERT_TRUE(doc.OnOpenDocument(kPicture));
  EXPECT_EQ(doc.GetReadWarning(), DibReadError::None);
}

TEST(DocumentNew, EmptiesTheDocument) {
  CQOV_V2Doc doc;
  OpenModified(doc, kPicture);
  ASSERT_TRUE(doc.OnNewDocument());
  EXPECT_EQ(doc.m_hDib, nullptr);
  EXPECT_FALSE(doc.IsModified());
  doc.UpdateImageSize();
  EXPECT_EQ(doc.m_nHeight, 0);
}

TEST(DocumentSave, WritesThePictureAndClearsTheModifiedFlag) {
  TempDir dir;
  CQOV_V2Doc doc;
  OpenModified(doc, kPicture);
  const std::string target = dir.File("out.bmp");
  WriteBytes(target, Bytes(100000, 0xEE));  // a longer old file
  ASSERT_TRUE(doc.OnSaveDocument(target)) << doc.GetFailureReason();
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(ReadBytes(target), Expected(doc));
  EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"out.bmp"}) << "no temporary left";
}

TEST(DocumentSave, WithoutPictureTouchesNoFile) {
  TempDir dir;
  CQOV_V2Doc doc;
  doc.SetModifiedFlag(true);
  EXPECT_FALSE(doc.OnSaveDocument(dir.File("out.bmp")));
  EXPECT_EQ(doc.GetFailureReason(), "there is no picture to save");
  EXPECT_TRUE(doc.IsModified());
  EXPECT_TRUE(FilesIn(dir.path()).empty());
}

// A picture that cannot be written as a file leaves the old file alone.
TEST(DocumentSave, UnwritableBlockKeepsTheOldFile) {
  TempDir dir;
  const std::string target = dir.File("out.bmp");
  WriteBytes(target, {1, 2, 3});
  CQOV_V2Doc doc;
  DibFields core;
  core.headerSize = 12;
  core.pixels = {1, 2, 3, 0};
  doc.ReplaceDib(BlockOf(MakeDib(core)));
  doc.SetModifiedFlag(true);
  EXPECT_FALSE(doc.OnSaveDocument(target));
  EXPECT_NE(doc.GetFailureReason(), "");
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(ReadBytes(target), (Bytes{1, 2, 3}));
  EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"out.bmp"});
}

TEST(DocumentSave, KeepsTheTargetsPermissions) {
  TempDir dir;
  const std::string target = dir.File("out.bmp");
  WriteBytes(target, {1});
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  CQOV_V2Doc doc;
  OpenModified(doc, kPicture);
  ASSERT_TRUE(doc.OnSaveDocument(target)) << doc.GetFailureReason();
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(DocumentSave, NewFileGetsTheUsualPermissions) {
  TempDir dir;
  const mode_t mask = ::umask(022);
  CQOV_V2Doc doc;
  OpenModified(doc, kPicture);
  const bool saved = doc.OnSaveDocument(dir.File("new.bmp"));
  ::umask(mask);
  ASSERT_TRUE(saved) << doc.GetFailureReason();
  EXPECT_EQ(fs::status(dir.File("new.bmp")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
}

// The file a link points to is replaced; the link stays a link.
TEST(DocumentSave, FollowsSymbolicLinks) {
  TempDir dir;
  fs::create_directory(dir.path() / "real");
  WriteBytes(dir.File("real/target.bmp"), {1, 2, 3});
  fs::create_symlink("real/target.bmp", dir.path() / "link.bmp");
  fs::create_symlink("link.bmp", dir.path() / "link2.bmp");
  fs::create_symlink("real/new.bmp", dir.path() / "dangling.bmp");
  CQOV_V2Doc doc;
  OpenModified(doc, kPicture);
  ASSERT_TRUE(doc.OnSaveDocument(dir.File("link2.bmp"))) << doc.GetFailureReason();
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.bmp"));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link2.bmp"));
  EXPECT_EQ(ReadBytes(dir.File("real/target.bmp")), Expected(doc));
  ASSERT_TRUE(doc.OnSaveDocument(dir.File("dangling.bmp"))) << doc.GetFailureReason();
  EXPECT_TRUE(fs::is_symlink(dir.path() / "dangling.bmp"));
  EXPECT_EQ(ReadBytes(dir.File("real/new.bmp")), Expected(doc));
}

struct SaveFailure {
  const char* name;
  std::function<std::string(const TempDir&)> path;
  const char* reason;
};

void PrintTo(const SaveFailure& c, std::ostream* os) {
  *os << c.name;
}

class DocumentSaveFailure : public ::testing::TestWithParam<SaveFailure> {};

TEST_P(DocumentSaveFailure, ReportsTheReasonAndKeepsTheModifiedFlag) {
  TempDir dir;
  CQOV_V2Doc doc;
  OpenModified(doc, kPicture);
  const std::string path = GetParam().path(dir);
  const auto before = FilesIn(dir.path());
  EXPECT_FALSE(doc.OnSaveDocument(path));
  EXPECT_EQ(doc.GetFailureReason(), GetParam().reason);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(FilesIn(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, DocumentSaveFailure,
    ::testing::Values(SaveFailure{"MissingFolder",
                                  [](const TempDir& d) { return d.File("no/such.bmp"); },
                                  "No such file or directory"},
                      SaveFailure{"Folder",
                                  [](const TempDir& d) {
                                    fs::create_directory(d.path() / "sub");
                                    return d.File("sub");
                                  },
                                  "Is a directory"},
                      SaveFailure{"LinkLoop",
                                  [](const TempDir& d) {
                                    fs::create_symlink("b.bmp", d.path() / "a.bmp");
                                    fs::create_symlink("a.bmp", d.path() / "b.bmp");
                                    return d.File("a.bmp");
                                  },
                                  "Too many levels of symbolic links"},
                      // Not a regular file: written in place, never replaced.
                      SaveFailure{"DeviceFull",
                                  [](const TempDir&) { return std::string("/dev/full"); },
                                  "No space left on device"}));

// Runs `scenario` in a child process (so that limits and identities set for
// it go with it); the child exits 0 when the scenario's checks held.
void RunInChild(const std::function<bool()>& scenario, bool unprivileged) {
  EXPECT_EXIT(
      {
        if (unprivileged && ::geteuid() == 0) {
          // Root passes every permission check: become nobody.
          if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
            std::fputs("cannot drop privileges\n", stderr);
            ::_exit(2);
          }
        }
        const bool ok = scenario();
        std::fflush(stderr);
        ::_exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

bool Check(bool condition, const char* what) {
  if (!condition)
    std::fprintf(stderr, "failed: %s\n", what);
  return condition;
}

// A full disk, made with a file size limit: the write fails half way, the
// old file is intact and no temporary file is left.
TEST(DocumentSave, FailedWriteKeepsTheOldFile) {
  RunInChild(
      [] {
        TempDir dir;
        const std::string target = dir.File("out.bmp");
        WriteBytes(target, {1, 2, 3});
        CQOV_V2Doc doc;
        if (!doc.OnOpenDocument(kOther))
          return Check(false, "open");
        doc.SetModifiedFlag(true);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool saved = doc.OnSaveDocument(target);
        return Check(!saved, "save fails") &&
               Check(doc.GetFailureReason() == "File too large", "reason") &&
               Check(doc.IsModified(), "still modified") &&
               Check(ReadBytes(target) == Bytes{1, 2, 3}, "old file intact") &&
               Check(FilesIn(dir.path()) == std::vector<std::string>{"out.bmp"}, "no temporary");
      },
      false);
}

// A folder that cannot take a new file: an existing file is written in
// place, a new one cannot be made.
TEST(DocumentSave, ReadOnlyFolderFallsBackToWritingInPlace) {
  RunInChild(
      [] {
        TempDir dir;
        const std::string target = dir.File("out.bmp");
        WriteBytes(target, Bytes(100000, 0xEE));
        CQOV_V2Doc doc;
        if (!doc.OnOpenDocument(kPicture))
          return Check(false, "open");
        doc.SetModifiedFlag(true);
        fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
        const bool saved = doc.OnSaveDocument(target);
        const bool savedNew = doc.OnSaveDocument(dir.File("new.bmp"));
        const std::string reason = doc.GetFailureReason();
        fs::permissions(dir.path(), fs::perms::owner_all);
        return Check(saved, "in place") && Check(ReadBytes(target) == Expected(doc), "content") &&
               Check(!savedNew, "no new file") && Check(reason == "Permission denied", "reason") &&
               Check(FilesIn(dir.path()) == std::vector<std::string>{"out.bmp"}, "files");
      },
      true);
}

// A file the user may not write is not replaced behind its back.
TEST(DocumentSave, ReadOnlyFileIsNotReplaced) {
  RunInChild(
      [] {
        TempDir dir;
        const std::string target = dir.File("out.bmp");
        WriteBytes(target, {1, 2, 3});
        fs::permissions(target, fs::perms::owner_read);
        CQOV_V2Doc doc;
        if (!doc.OnOpenDocument(kPicture))
          return Check(false, "open");
        const bool saved = doc.OnSaveDocument(target);
        return Check(!saved, "refused") &&
               Check(doc.GetFailureReason() == "Permission denied", "reason") &&
               Check(ReadBytes(target) == Bytes{1, 2, 3}, "old file intact");
      },
      true);
}

}  // namespace
}  // namespace qov::test
