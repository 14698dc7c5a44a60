// Identifiers in their registry text form and as parts of bus names.

#include <gtest/gtest.h>

#include "platform/Guid.h"
#include "res/AutomationIds.h"

namespace qov {
namespace {

TEST(Guid, RegistryFormRoundTripsAndNamesTheBus) {
  struct Case {
    GUID guid;
    const char* text;
    const char* element;
  };
  const Case cases[] = {
      {CLSID_QOV_V2Document, "{5D5421C6-EF25-4438-A45C-EDA36C2291C3}",
       "5D5421C6_EF25_4438_A45C_EDA36C2291C3"},
      {IID_IQOV_V2, "{A0BD325D-81DF-4A9A-B8B6-77929ACB4DB3}",
       "A0BD325D_81DF_4A9A_B8B6_77929ACB4DB3"},
      {IID_IDispatch, "{00020400-0000-0000-C000-000000000046}",
       "00020400_0000_0000_C000_000000000046"},
      {GUID{0xFFFFFFFF, 0xFFFF, 0x0001, {1, 2, 3, 4, 5, 6, 7, 0xFF}},
       "{FFFFFFFF-FFFF-0001-0102-0304050607FF}", "FFFFFFFF_FFFF_0001_0102_0304050607FF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StringFromGUID(c.guid), c.text);
    EXPECT_EQ(NameElementFromGUID(c.guid), c.element);
    EXPECT_EQ(GUIDFromString(c.text), c.guid) << c.text;
  }
}

TEST(Guid, ParsingTakesEitherCaseWithOrWithoutBracesAndNothingElse) {
  const GUID expected = IID_IQOV_V2;
  for (const char* text :
       {"{a0bd325d-81df-4a9a-b8b6-77929acb4db3}", "A0BD325D-81DF-4A9A-B8B6-77929ACB4DB3"}) {
    EXPECT_EQ(GUIDFromString(text), expected) << text;
  }
  for (const char* text :
       {"", "{}", "{A0BD325D-81DF-4A9A-B8B6-77929ACB4DB}",
        "{A0BD325D-81DF-4A9A-B8B6-77929ACB4DB33}", "{A0BD325D81DF-4A9A-B8B6-77929ACB4DB3-}",
        "{A0BD325D-81DF-4A9A-B8B6-77929ACB4DBG}", "{A0BD325D-81DF-4A9A-B8B6-77929ACB4DB3",
        "A0BD325D_81DF_4A9A_B8B6_77929ACB4DB3", " {A0BD325D-81DF-4A9A-B8B6-77929ACB4DB3}"}) {
    EXPECT_EQ(GUIDFromString(text), std::nullopt) << "'" << text << "'";
  }
}

}  // namespace
}  // namespace qov
