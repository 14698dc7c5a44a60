// The threshold dialog on the headless backend: its start, the validation
// on OK, and the edit box and the trackbar kept in step both ways.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/Dialog.h"
#include "platform/headless/HeadlessBackend.h"
#include "raster/ThresholdDlg.h"
#include "res/Resource.h"
#include "res/Strings.h"

namespace qov::test {
namespace {

class ThresholdDlgTest : public ::testing::Test {
 protected:
  HeadlessBackend& backend() { return platform.backend(); }
  ScopedHeadlessPlatform platform;
};

TEST_F(ThresholdDlgTest, OpensWithFiftyPercentAndTheBoxUnticked) {
  CThresholdDlg dlg;
  backend().QueueDialog([](CDialog& d) {
    const ControlState& trackbar = d.GetControlState(IDC_SLIDER_THRESHOLD);
    EXPECT_EQ(trackbar.pos, 50);
    EXPECT_EQ(trackbar.rangeMin, 0);
    EXPECT_EQ(trackbar.rangeMax, 100);
    EXPECT_EQ(trackbar.ticFreq, 5);
    EXPECT_EQ(d.GetDlgItemText(IDC_EDIT_THRESHOLD), "50");
    EXPECT_EQ(d.IsDlgButtonChecked(IDC_CHECK_OUTLINE), 0);
    d.UserClick(IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_nThreshold, 50);
  EXPECT_EQ(dlg.m_nThresholdText, 50);
  EXPECT_EQ(dlg.m_bOutline, 0);
  EXPECT_EQ(backend().DialogsRun(), std::vector<UINT>{IDD_THRESHOLD});
}

struct TypedCase {
  std::string text;
  // The trackbar position after typing; nullopt: the text is not an integer,
  // the trackbar stays at 50 and OK is refused.
  std::optional<int> position;
  // What the box shows afterwards.
  std::string shown;
};

const TypedCase kTypedCases[] = {
    {"75", 75, "75"},
    {" 7\t", 7, " 7\t"},
    {"007", 7, "007"},
    {"+12", 12, "+12"},
    {"0", 0, "0"},
    {"100", 100, "100"},
    {"101", 100, "100"},
    {"150", 100, "100"},
    {"-5", 0, "0"},
    {"99999999999999999999", 100, "100"},
    {"-99999999999999999999", 0, "0"},
    {"", std::nullopt, ""},
    {"abc", std::nullopt, "abc"},
    {"12a", std::nullopt, "12a"},
    {"1 2", std::nullopt, "1 2"},
    {"+0", std::nullopt, "+0"},
    {"-0", std::nullopt, "-0"},
    {"-", std::nullopt, "-"},
    {"--1", std::nullopt, "--1"},
    {"1.5", std::nullopt, "1.5"},
};

TEST_F(ThresholdDlgTest, TypedIntegersMoveTheTrackbarAndOtherTextIsRefusedOnOk) {
  for (const TypedCase& c : kTypedCases) {
    SCOPED_TRACE("typed \"" + c.text + "\"");
    backend().ClearMessages();
    CThresholdDlg dlg;
    bool endedOnOk = false;
    backend().QueueDialog([&](CDialog& d) {
      d.UserSetText(IDC_EDIT_THRESHOLD, c.text);
      EXPECT_EQ(d.GetTrackbarPos(IDC_SLIDER_THRESHOLD), c.position.value_or(50));
      EXPECT_EQ(d.GetDlgItemText(IDC_EDIT_THRESHOLD), c.shown);
      d.UserClick(IDOK);
      endedOnOk = d.IsEnded();
      if (!endedOnOk) {
        EXPECT_EQ(d.GetFocusedControl(), IDC_EDIT_THRESHOLD);
        d.UserClick(IDCANCEL);
      }
    });
    const auto result = dlg.DoModal();
    if (c.position) {
      EXPECT_TRUE(endedOnOk);
      EXPECT_EQ(result, IDOK);
      EXPECT_EQ(dlg.m_nThreshold, *c.position);
      EXPECT_EQ(dlg.m_nThresholdText, *c.position);
      EXPECT_TRUE(backend().Messages().empty());
    } else {
      EXPECT_FALSE(endedOnOk);
      EXPECT_EQ(result, IDCANCEL);
      ASSERT_EQ(backend().Messages().size(), 1u);
      EXPECT_EQ(backend().Messages()[0].text, text::kEnterInteger);
      EXPECT_EQ(backend().Messages()[0].caption, text::kAppName);
    }
  }
}

TEST_F(ThresholdDlgTest, EveryTrackbarMoveIsShownInTheBox) {
  const UINT codes[] = {TB_LINEUP,        TB_LINEDOWN,   TB_PAGEUP, TB_PAGEDOWN,
                        TB_THUMBPOSITION, TB_THUMBTRACK, TB_TOP,    TB_BOTTOM};
  int position = 3;
  for (const UINT code : codes) {
    SCOPED_TRACE(code);
    CThresholdDlg dlg;
    backend().QueueDialog([&](CDialog& d) {
      d.UserSetText(IDC_EDIT_THRESHOLD, "not a number");
      d.UserMoveTrackbar(IDC_SLIDER_THRESHOLD, position, code);
      EXPECT_EQ(d.GetDlgItemText(IDC_EDIT_THRESHOLD), std::to_string(position));
      d.UserClick(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nThreshold, position);
    EXPECT_EQ(dlg.m_nThresholdText, position);
    position += 11;
  }
}

// A window toolkit may report every change of the trackbar, also one the
// program makes, as a move. This host does so, to show that neither
// direction of the sync sets off the other (without the guard, a drag would
// bounce between the two controls for ever).
class EchoingHost : public IDialogHost {
 public:
  explicit EchoingHost(CDialog& dlg) : m_dlg(dlg) {}
  void ControlChanged(int id) override {
    if (id != IDC_SLIDER_THRESHOLD)
      return;
    ++echoes;
    const int pos = m_dlg.GetTrackbarPos(id);
    m_dlg.OnHScroll(TB_THUMBPOSITION, static_cast<UINT>(pos), id);
  }
  void FocusControl(int, bool) override {}
  int echoes = 0;

 private:
  CDialog& m_dlg;
};

class CountingThresholdDlg : public CThresholdDlg {
 public:
  void OnCommandNotify(int controlId, UINT code) override {
    if (controlId == IDC_EDIT_THRESHOLD && code == EN_CHANGE)
      ++boxChanges;
    CThresholdDlg::OnCommandNotify(controlId, code);
  }
  int boxChanges = 0;
};

TEST_F(ThresholdDlgTest, TheTwoDirectionsOfTheSyncDoNotFeedBack) {
  CountingThresholdDlg dlg;
  EchoingHost host(dlg);
  dlg.SetHost(&host);
  backend().QueueDialog([&](CDialog& d) {
    // Typed text stays as typed when the trackbar's echo comes back.
    dlg.boxChanges = 0;
    d.UserSetText(IDC_EDIT_THRESHOLD, " 7");
    EXPECT_EQ(d.GetTrackbarPos(IDC_SLIDER_THRESHOLD), 7);
    EXPECT_EQ(d.GetDlgItemText(IDC_EDIT_THRESHOLD), " 7");
    EXPECT_EQ(dlg.boxChanges, 1);

    // Out of range: one rewrite of the box, no more.
    dlg.boxChanges = 0;
    d.UserSetText(IDC_EDIT_THRESHOLD, "250");
    EXPECT_EQ(d.GetTrackbarPos(IDC_SLIDER_THRESHOLD), 100);
    EXPECT_EQ(d.GetDlgItemText(IDC_EDIT_THRESHOLD), "100");
    EXPECT_EQ(dlg.boxChanges, 2);

    // A drag is shown in the box, and the box does not move the trackbar
    // again: the only trackbar change is the drag itself.
    const int echoes = host.echoes;
    d.UserMoveTrackbar(IDC_SLIDER_THRESHOLD, 30, TB_THUMBTRACK);
    EXPECT_EQ(d.GetDlgItemText(IDC_EDIT_THRESHOLD), "30");
    EXPECT_EQ(d.GetTrackbarPos(IDC_SLIDER_THRESHOLD), 30);
    EXPECT_EQ(host.echoes - echoes, 1);
    d.UserClick(IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_nThreshold, 30);
}

TEST_F(ThresholdDlgTest, TickedBoxIsReturned) {
  CThresholdDlg dlg;
  backend().QueueDialog([](CDialog& d) {
    d.UserClick(IDC_CHECK_OUTLINE);
    d.UserClick(IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_bOutline, 1);
}

}  // namespace
}  // namespace qov::test
