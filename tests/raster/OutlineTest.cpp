// 輪郭処理 through its command: the rims that stay, the interiors that turn
// light grey, the borders, and the independence of the visiting order.

#include <random>
#include <string>
#include <vector>

#include "platform/Clipboard.h"
#include "res/Resource.h"
#include "tests/view/ViewTestSupport.h"

namespace qov::test {
namespace {

using Rows = std::vector<std::string>;

struct OutlineCase {
  const char* name;
  Rows before;
  Rows after;
};

const OutlineCase kOutlineCases[] = {
    {"solid 5 x 5 square",
     {".........", ".........", "..KKKKK..", "..KKKKK..", "..KKKKK..", "..KKKKK..", "..KKKKK..",
      ".........", "........."},
     {".........", ".........", "..KKKKK..", "..KgggK..", "..KgggK..", "..KgggK..", "..KKKKK..",
      ".........", "........."}},
    {"lines one and two pixels thick",
     {"........", ".KKKKKK.", "........", ".KKKKKK.", ".KKKKKK.", "........", "..K..K..",
      "........"},
     {"........", ".KKKKKK.", "........", ".KKKKKK.", ".KKKKKK.", "........", "..K..K..",
      "........"}},
    {"dark grey neighbours do not protect, grey never changes",
     {"......", "..G...", ".GKG..", "..GG..", "......", "......"},
     {"......", "..G...", ".GgG..", "..GG..", "......", "......"}},
    {"diagonal white does not count",
     {"......", "..K...", ".KKK..", "..K...", "......", "......"},
     {"......", "..K...", ".KgK..", "..K...", "......", "......"}},
    {"black everywhere: bands along the border stay",
     {"KKKKKKK", "KKKKKKK", "KKKKKKK", "KKKKKKK", "KKKKKKK", "KKKKKKK"},
     {"KKKKKKK", "KKggggK", "KKggggK", "KKggggK", "KKKKKKK", "KKKKKKK"}},
    {"narrower than 4",
     {"KKK", "KKK", "KKK", "KKK", "KKK", "KKK"},
     {"KKK", "KKK", "KKK", "KKK", "KKK", "KKK"}},
    {"lower than 4", {"KKKKKK", "KKKKKK", "KKKKKK"}, {"KKKKKK", "KKKKKK", "KKKKKK"}},
};

class OutlineTest : public ViewTest {
 protected:
  void SetRows(const Rows& rows) {
    SetPicture(static_cast<std::int64_t>(rows[0].size()), static_cast<std::int64_t>(rows.size()),
               FromRows(rows));
  }
};

TEST_F(OutlineTest, InteriorBlackTurnsLightGreyAndRimsStay) {
  for (const OutlineCase& c : kOutlineCases) {
    SCOPED_TRACE(c.name);
    SetRows(c.before);
    view.SetScale(8);
    doc.SetModifiedFlag(false);
    backend().ClearClipboard();
    ASSERT_TRUE(Run(ID_OUTLINE));
    EXPECT_EQ(RowsOf(doc), c.after);
    // Also where nothing changes: the copy, the scale and the flag.
    EXPECT_EQ(view.m_nScale, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(PictureOfBlock(backend().PeekClipboardData(CF_DIB)),
              PictureOf(static_cast<std::int64_t>(c.before[0].size()),
                        static_cast<std::int64_t>(c.before.size()), FromRows(c.before)));
    EXPECT_EQ(backend().WaitCursorDepth(), 0);
  }
}

// The pass changes pixels in place, yet its result is the rule applied to
// the picture as it was, whatever the order; and a second run changes
// nothing more.
TEST_F(OutlineTest, ResultIsTheRuleAppliedToTheOriginalAndIsStable) {
  std::mt19937 random(20240607);
  const char letters[] = {'K', 'K', 'K', '.', 'G'};
  for (int round = 0; round < 20; ++round) {
    const std::size_t width = 4 + random() % 12;
    const std::size_t height = 4 + random() % 12;
    Rows before(height, std::string(width, '.'));
    for (auto& row : before) {
      for (char& c : row)
        c = letters[random() % 5];
    }
    Rows expected = before;
    for (std::size_t y = 1; y + 2 < height; ++y) {  // document rows 2 .. H − 2
      for (std::size_t x = 2; x + 2 < width + 1; ++x) {
        const auto white = [&](std::size_t xx, std::size_t yy) { return before[yy][xx] == '.'; };
        if (before[y][x] == 'K' && !white(x - 1, y) && !white(x + 1, y) && !white(x, y - 1) &&
            !white(x, y + 1)) {
          expected[y][x] = 'g';
        }
      }
    }
    SCOPED_TRACE(testing::Message() << "round " << round);
    SetRows(before);
    ASSERT_TRUE(Run(ID_OUTLINE));
    EXPECT_EQ(RowsOf(doc), expected);
    ASSERT_TRUE(Run(ID_OUTLINE));
    EXPECT_EQ(RowsOf(doc), expected);
  }
}

TEST_F(OutlineTest, WithoutPictureNothingHappensAtAll) {
  backend().PutClipboardData(CF_DIB, MakeDib24(2, 2, Uniform(kBlack)));
  view.SetScale(4);
  const int invalidates = host.InvalidateCount();
  ASSERT_TRUE(Run(ID_OUTLINE));
  EXPECT_NE(backend().PeekClipboardData(CF_DIB), nullptr);
  EXPECT_EQ(view.m_nScale, 4);
  EXPECT_EQ(host.InvalidateCount(), invalidates);
  EXPECT_EQ(backend().WaitCursorBegins(), 0);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(OutlineTest, CommandIsAlwaysEnabled) {
  for (const bool picture : {false, true}) {
    if (picture)
      SetPicture(3, 3, Uniform(kWhite));
    CCmdUI ui(ID_OUTLINE);
    UpdateCommandUI(view, ui);
    EXPECT_TRUE(ui.m_bEnabled);
  }
}

}  // namespace
}  // namespace qov::test
