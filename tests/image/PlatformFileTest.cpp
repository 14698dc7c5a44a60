// The platform pieces under the document: global memory, files and their
// exceptions, the storing archive and the document base.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <numeric>

#include "ImageTestSupport.h"
#include "platform/Archive.h"
#include "platform/Document.h"
#include "platform/File.h"
#include "platform/View.h"

// Under the address sanitizer an impossible allocation would abort instead
// of failing as the allocator normally does.
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1";
}

namespace qov::test {
namespace {

TEST(GlobalMemory, BlocksAreZeroedAndLockCounted) {
  for (std::size_t size :
       {std::size_t{0}, std::size_t{1}, std::size_t{4096}, std::size_t{1} << 22}) {
    HGLOBAL h = GlobalAllocOwned(GHND, size).release();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalSize(h), size);
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(std::all_of(p, p + size, [](unsigned char c) { return c == 0; }));
    EXPECT_EQ(GlobalLock(h), p) << "the block does not move while locked";
    EXPECT_TRUE(GlobalUnlock(h)) << "still locked once";
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_FALSE(GlobalUnlock(h)) << "an extra unlock is harmless";
    EXPECT_EQ(GlobalFree(h), nullptr);
  }
  EXPECT_EQ(GlobalLock(nullptr), nullptr);
  EXPECT_EQ(GlobalSize(nullptr), 0u);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

// Within a reuse scope a freed block comes back for the next allocation of
// its size, cleared and unlocked; any other size gets a block of its own
// (the asan preset reports the kept block if the scope leaks it).
TEST(GlobalMemory, ReuseScopeHandsBackFreedBlocksCleared) {
  const CGlobalReuseScope reuse;
  for (std::size_t size : {std::size_t{64}, std::size_t{32}}) {
    HGLOBAL freed = GlobalAllocOwned(GHND, 64).release();
    std::memset(GlobalLock(freed), 0xAB, 64);
    GlobalFree(freed);
    const CGlobalOwner again = GlobalAllocOwned(GHND, size);
    if (size == 64) {
      EXPECT_EQ(again.get(), freed);
    }
    EXPECT_EQ(GlobalSize(again.get()), size);
    const CGlobalLock bytes(again.get());
    EXPECT_EQ(again.get()->lockCount, 1u);
    EXPECT_TRUE(std::all_of(bytes.get(), bytes.get() + size,
                            [](std::byte b) { return b == std::byte{0}; }));
  }
}

TEST(GlobalMemory, ImpossibleSizeGivesNull) {
  EXPECT_FALSE(GlobalAllocOwned(GHND, std::size_t{1} << 62));
}

TEST(GlobalMemory, GuardsUnlockAndFree) {
  HGLOBAL h = GlobalAllocOwned(GHND, 8).release();
  {
    CGlobalOwner owner(h);
    {
      const CGlobalLock lock(h);
      EXPECT_EQ(h->lockCount, 1u);
      EXPECT_EQ(lock.size(), 8u);
    }
    EXPECT_EQ(h->lockCount, 0u);
    CGlobalOwner moved(std::move(owner));
    EXPECT_EQ(moved.get(), h);
    EXPECT_FALSE(owner);
  }  // freed here (the asan preset reports a leak otherwise)
  CGlobalOwner released = GlobalAllocOwned(GHND, 8);
  GlobalFree(released.release());
  EXPECT_FALSE(released);
  // A shared block lives until its last owner frees it (the asan preset
  // reports the write below if the first free released it).
  CGlobalOwner first = GlobalAllocOwned(GHND, 8);
  CGlobalOwner second(GlobalShare(first.get()));
  EXPECT_EQ(second.get(), first.get());
  EXPECT_TRUE(GlobalIsShared(first.get()));
  first = CGlobalOwner();
  EXPECT_FALSE(GlobalIsShared(second.get()));
  *static_cast<std::byte*>(GlobalLock(second.get())) = std::byte{1};
  GlobalUnlock(second.get());
}

TEST(FileException, CarriesPathAndSystemText) {
  const CFileException e(CFileException::diskFull, "/x/y.bmp", ENOSPC);
  EXPECT_EQ(e.OsErrorText(), "No space left on device");
  EXPECT_STREQ(e.what(), "/x/y.bmp: No space left on device");
  const CFileException eof(CFileException::endOfFile, "", 0);
  EXPECT_EQ(eof.OsErrorText(), "unexpected end of file");
}

TEST(File, OpenFailuresThrowWithTheirCause) {
  TempDir dir;
  const struct {
    std::string path;
    unsigned flags;
    CFileException::Cause cause;
  } cases[] = {
      {dir.File("missing"), CFile::modeRead, CFileException::fileNotFound},
      {dir.File("missing/x"), CFile::modeCreate | CFile::modeWrite, CFileException::fileNotFound},
      {dir.path().string(), CFile::modeRead, CFileException::accessDenied},
      {dir.path().string(), CFile::modeCreate | CFile::modeWrite, CFileException::accessDenied},
  };
  for (const auto& c : cases) {
    try {
      CFile file(c.path, c.flags);
      ADD_FAILURE() << c.path << " opened";
    } catch (const CFileException& e) {
      EXPECT_EQ(e.m_cause, c.cause) << c.path;
      EXPECT_EQ(e.m_strFileName, c.path);
      EXPECT_NE(e.m_lOsError, 0);
    }
  }
}

TEST(File, WriteReadSeekAndLength) {
  TempDir dir;
  const std::string path = dir.File("data");
  Bytes data(300000);
  std::iota(data.begin(), data.end(), std::uint8_t{0});
  {
    CFile out(path, CFile::modeCreate | CFile::modeWrite);
    out.Write(data.data(), data.size());
    out.Close();
    EXPECT_FALSE(out.IsOpen());
    out.Close();  // closing twice is harmless
  }
  CFile in(path, CFile::modeRead);
  EXPECT_EQ(in.GetLength(), data.size());
  EXPECT_EQ(in.GetFilePath(), path);
  Bytes buffer(10);
  EXPECT_EQ(in.Read(buffer.data(), 10), 10u);
  EXPECT_EQ(buffer[9], 9);
  EXPECT_EQ(in.Seek(90, CFile::current), 100u);
  EXPECT_EQ(in.Read(buffer.data(), 1), 1u);
  EXPECT_EQ(buffer[0], 100);
  Bytes rest(data.size());
  EXPECT_EQ(in.Read(rest.data(), rest.size()), data.size() - 101) << "fewer at the end";
  EXPECT_EQ(in.Read(rest.data(), 1), 0u);
  EXPECT_EQ(in.Seek(0, CFile::end), data.size());
  EXPECT_EQ(in.Seek(1000000, CFile::current), data.size() + 1000000) << "past the end";
  EXPECT_THROW(in.Seek(-5000000, CFile::current), CFileException);
}

TEST(File, CreateTruncates) {
  TempDir dir;
  const std::string path = dir.File("data");
  WriteBytes(path, Bytes(50, 1));
  CFile out(path, CFile::modeCreate | CFile::modeWrite);
  out.Write("ab", 2);
  out.Close();
  EXPECT_EQ(ReadBytes(path), (Bytes{'a', 'b'}));
}

TEST(File, FullDiskThrowsDiskFull) {
  CFile full("/dev/full", CFile::modeWrite);
  const char byte = 0;
  try {
    full.Write(&byte, 1);
    FAIL() << "no exception";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::diskFull);
    EXPECT_EQ(e.m_lOsError, ENOSPC);
    EXPECT_STREQ(e.what(), "/dev/full: No space left on device");
  }
}

TEST(Archive, HandsWholeBuffersToTheFile) {
  // /dev/full fails every write that reaches it: what throws shows what the
  // archive handed to the file.
  CFile full("/dev/full", CFile::modeWrite);
  Bytes data(2000, 7);
  {
    CArchive ar(&full, CArchive::store);
    EXPECT_NO_THROW(ar.Write(data.data(), 511)) << "buffered";
    EXPECT_THROW(ar.Write(data.data(), 1), CFileException) << "the 512th byte fills a block";
  }  // the destructor writes nothing and does not throw
  {
    CArchive ar(&full, CArchive::store);
    EXPECT_NO_THROW(ar.Write(data.data(), 100));
    EXPECT_THROW(ar.Close(), CFileException);
  }
  {
    CArchive ar(&full, CArchive::store);
    ar.Write(data.data(), 100);
    ar.Abort();
    EXPECT_EQ(ar.GetFile(), nullptr);
  }
}

TEST(Archive, WritesTheBytesUnchanged) {
  TempDir dir;
  const std::string path = dir.File("out");
  Bytes data(5000);
  std::iota(data.begin(), data.end(), std::uint8_t{3});
  for (std::size_t bufferSize :
       {std::size_t{1}, std::size_t{7}, std::size_t{512}, std::size_t{8192}}) {
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store, bufferSize);
    std::size_t at = 0;
    for (std::size_t piece : {1u, 10u, 600u, 1u, 3000u, 1388u}) {
      ar.Write(data.data() + at, piece);
      at += piece;
    }
    ar.Close();
    file.Close();
    EXPECT_EQ(ReadBytes(path), data) << bufferSize;
  }
}

TEST(Archive, DestructorDropsTheBuffer) {
  TempDir dir;
  const std::string path = dir.File("out");
  CFile file(path, CFile::modeCreate | CFile::modeWrite);
  {
    CArchive ar(&file, CArchive::store);
    ar.Write("abc", 3);
  }
  file.Close();
  EXPECT_TRUE(ReadBytes(path).empty());
}

class CountingView : public CView {
 public:
  void OnDraw(CDC*) override {}
  void OnUpdate(CView*) override { ++updates; }
  int updates = 0;
};

TEST(Document, BaseHooks) {
  TempDir dir;
  CDocument doc;
  doc.SetPathName("/some/folder/picture.bmp");
  EXPECT_EQ(doc.GetPathName(), "/some/folder/picture.bmp");
  EXPECT_EQ(doc.GetTitle(), "picture.bmp");
  doc.SetModifiedFlag();
  EXPECT_TRUE(doc.OnNewDocument());
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.GetPathName(), "");
  EXPECT_EQ(doc.GetTitle(), "");

  EXPECT_FALSE(doc.OnOpenDocument(dir.File("missing.bmp")));
  EXPECT_EQ(doc.GetFailureReason(), "No such file or directory");
  WriteBytes(dir.File("any"), {1});
  EXPECT_TRUE(doc.OnOpenDocument(dir.File("any")));
  EXPECT_EQ(doc.GetFailureReason(), "");
  EXPECT_FALSE(doc.OnSaveDocument(dir.File("out")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
}

TEST(Document, UpdateAllViewsSkipsTheSender) {
  CDocument doc;
  CountingView a;
  CountingView b;
  a.SetDocument(&doc);
  b.SetDocument(&doc);
  doc.AddView(&a);  // a second add changes nothing
  EXPECT_EQ(doc.GetViews().size(), 2u);
  doc.UpdateAllViews(&a);
  EXPECT_EQ(a.updates, 0);
  EXPECT_EQ(b.updates, 1);
  doc.UpdateAllViews(nullptr);
  EXPECT_EQ(a.updates, 1);
  EXPECT_EQ(b.updates, 2);
  b.SetDocument(nullptr);
  EXPECT_EQ(doc.GetViews().size(), 1u);
}

}  // namespace
}  // namespace qov::test
