// The lookups read the resources installed, and only those.

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/Resources.h"
#include "platform/StringTable.h"
#include "tests/platform/FakeResources.h"

namespace qov::test {
namespace {

TEST(Resources, LookupsFindTheInstalledEntriesAndNothingElse) {
  struct Case {
    UINT id;
    bool found;
  };
  ScopedFakeResources resources;
  for (const Case& c : {Case{IDR_FAKE, true}, Case{IDD_FAKE_RADIO, false}, Case{4711, false}}) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(LoadMenu(c.id).empty(), !c.found);
    EXPECT_EQ(LoadAccelerators(c.id).empty(), !c.found);
  }
  EXPECT_EQ(LoadString(IDS_APP_TITLE), kFakeAppTitle);
  EXPECT_EQ(LoadString(IDR_FAKE), "");
  EXPECT_EQ(LoadMenu(IDR_FAKE).front().items.front().id, ID_FILE_NEW);
  EXPECT_EQ(LoadAccelerators(IDR_FAKE).front().cmd, ID_FILE_NEW);
  EXPECT_EQ(FindDialogTemplate(IDD_FAKE_RADIO)->caption, "radio");
  EXPECT_EQ(FindDialogTemplate(IDR_FAKE), nullptr);
}

TEST(Resources, LookupsWithoutResourcesAreALogicError) {
  const CResources* previous = SetResources(nullptr);
  EXPECT_THROW(LoadString(IDS_APP_TITLE), std::logic_error);
  EXPECT_THROW(FindDialogTemplate(IDD_FAKE_RADIO), std::logic_error);
  {
    ScopedFakeResources resources;
    EXPECT_EQ(&Resources(), &FakeResources());
  }
  EXPECT_THROW(Resources(), std::logic_error);
  SetResources(previous);
}

}  // namespace
}  // namespace qov::test
