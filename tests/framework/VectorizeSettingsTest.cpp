// The vectorizer's settings outlive the program in its profile, and a
// profile entry that is not a number in range leaves that setting at its
// default.

#include <gtest/gtest.h>

#include "app/VectorizeSettings.h"

namespace qov {
namespace {

TEST(VectorizeSettings, ChosenSettingsComeBackFromTheProfile) {
  CWinApp app;
  EXPECT_EQ(ReadVectorizeSettings(app), VectorizeParams());
  const VectorizeParams chosen{35, 0.8, 0.05, 0.02, 400};
  WriteVectorizeSettings(app, chosen);
  EXPECT_EQ(ReadVectorizeSettings(app), chosen);
}

TEST(VectorizeSettings, EntriesThatAreNoNumberInRangeKeepTheDefault) {
  const struct {
    const char* entry;
    const char* value;
  } cases[] = {{"Threshold", "101"},   {"Threshold", "50.5"}, {"MaxPenMm", "-1"},
               {"ToleranceMm", "abc"}, {"SpeckMm2", ""},      {"Dpi", "nan"}};
  for (const auto& c : cases) {
    CWinApp app;
    app.WriteProfileString("Vectorize", c.entry, c.value);
    EXPECT_EQ(ReadVectorizeSettings(app), VectorizeParams()) << c.entry << "=" << c.value;
  }
}

}  // namespace
}  // namespace qov
