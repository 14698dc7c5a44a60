#include <gtest/gtest.h>

#include "shell/RecentFileList.h"
#include "shell/Settings.h"

namespace qov {
namespace {

std::vector<std::string> Paths(const CRecentFileList& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.GetCount(); ++i)
    out.push_back(list[i]);
  return out;
}

TEST(RecentFileList, NewestFirstWithoutDuplicatesAndAtMostItsSize) {
  CRecentFileList list("Recent File List", "File%d", 4);
  for (const char* path : {"/a", "/b", "/c", "/a", "/d", "/e"})
    list.Add(path);
  EXPECT_EQ(Paths(list), (std::vector<std::string>{"/e", "/d", "/a", "/c"}));
  list.Remove(1);
  EXPECT_EQ(Paths(list), (std::vector<std::string>{"/e", "/a", "/c"}));
}

TEST(RecentFileList, KeptInTheProfileUnderFileOneToFour) {
  CMemorySettings settings;
  CRecentFileList list("Recent File List", "File%d", 4);
  list.Add("/x/one.bmp");
  list.Add("/x/two.bmp");
  list.WriteList(settings);
  EXPECT_EQ(settings.Read("Recent File List", "File1"), "/x/two.bmp");
  EXPECT_EQ(settings.Read("Recent File List", "File2"), "/x/one.bmp");
  EXPECT_FALSE(settings.Read("Recent File List", "File3"));

  list.Remove(0);
  list.WriteList(settings);
  EXPECT_FALSE(settings.Read("Recent File List", "File2"));
  CRecentFileList again("Recent File List", "File%d", 4);
  again.ReadList(settings);
  EXPECT_EQ(Paths(again), (std::vector<std::string>{"/x/one.bmp"}));
}

TEST(RecentFileList, DisplayNamesAreNumberedShortenedAndShowAmpersands) {
  CRecentFileList list("Recent File List", "File%d", 4);
  list.Add("/home/user/pictures/scans/2024/very long folder/drawing.bmp");
  list.Add("/tmp/R&D.bmp");
  EXPECT_EQ(list.GetDisplayName(0), "&1 /tmp/R&&D.bmp");
  EXPECT_EQ(list.GetDisplayName(1), "&2 /home/.../drawing.bmp");
  list.Add("/home/user/a/b.bmp");
  EXPECT_EQ(list.GetDisplayName(0), "&1 /home/user/a/b.bmp");
}

// A page is kept beside its path only for a file opened at a page; an entry
// kept without one, or with one that is no page, reads as page 0.
TEST(RecentFileList, PagesAreKeptBesideTheirPathsAndOldEntriesReadWithout) {
  CMemorySettings settings;
  CRecentFileList list("Recent File List", "File%d", 4);
  list.Add("/x/one.bmp");
  list.Add("/x/scan.tif", 2);
  list.WriteList(settings);
  EXPECT_EQ(settings.Read("Recent File List", "Page1"), "2");
  EXPECT_FALSE(settings.Read("Recent File List", "Page2"));
  EXPECT_EQ(list.GetDisplayName(0), "&1 /x/scan.tif (2ページ目)");

  settings.Write("Recent File List", "File3", "/x/old.tif");
  settings.Write("Recent File List", "Page2", "two");
  CRecentFileList again("Recent File List", "File%d", 4);
  again.ReadList(settings);
  EXPECT_EQ(Paths(again), (std::vector<std::string>{"/x/scan.tif", "/x/one.bmp", "/x/old.tif"}));
  EXPECT_EQ((std::vector<int>{again.GetPage(0), again.GetPage(1), again.GetPage(2)}),
            (std::vector<int>{2, 0, 0}));
  again.Remove(0);
  again.WriteList(settings);
  EXPECT_FALSE(settings.Read("Recent File List", "Page1"));
}

}  // namespace
}  // namespace qov
