// Dialogs on their templates: data exchange and validation, the controls'
// notifications, radio groups, and modal runs on the headless backend.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/Dialog.h"
#include "platform/headless/HeadlessBackend.h"
#include "tests/platform/FakeResources.h"

namespace qov {
namespace {

using namespace test;

// The exchange template's controls, exchanged the plain way.
class ExchangeDlg : public CDialog {
 public:
  ExchangeDlg() : CDialog(IDD_FAKE_EXCHANGE) {}

  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Check(pDX, IDC_FAKE_CHECK, m_bCheck);
    DDX_Text(pDX, IDC_FAKE_EDIT, m_nText);
    DDX_Slider(pDX, IDC_FAKE_TRACKBAR, m_nSlider);
  }
  void OnHScroll(UINT sbCode, UINT pos, int controlId) override {
    scrolls.push_back({sbCode, pos, controlId});
  }
  void OnCommandNotify(int controlId, UINT code) override {
    notifications.emplace_back(controlId, code);
  }

  struct Scroll {
    UINT sbCode, pos;
    int controlId;
    friend bool operator==(const Scroll&, const Scroll&) = default;
  };
  int m_bCheck = 0;
  int m_nText = 50;
  int m_nSlider = 50;
  std::vector<Scroll> scrolls;
  std::vector<std::pair<int, UINT>> notifications;
};

class RadioDlg : public CDialog {
 public:
  RadioDlg() : CDialog(IDD_FAKE_RADIO) {}
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Radio(pDX, IDC_FAKE_RADIO_FIRST, m_nOption);
  }
  int m_nOption = 1;
};

class RecordingHost : public IDialogHost {
 public:
  void ControlChanged(int id) override { changed.push_back(id); }
  void FocusControl(int id, bool selectAll) override { focus.emplace_back(id, selectAll); }
  std::vector<int> changed;
  std::vector<std::pair<int, bool>> focus;
};

class DialogTest : public ::testing::Test {
 protected:
  HeadlessBackend& backend() { return platform.backend(); }
  ScopedHeadlessPlatform platform;
  ScopedFakeResources resources;
};

TEST_F(DialogTest, IntegerTextValidation) {
  struct Case {
    std::string text;
    bool valid;
    int value;
  };
  const Case cases[] = {
      {"50", true, 50},
      {" 7 ", true, 7},
      {"\t-3\t", true, -3},
      {"+12", true, 12},
      {"0", true, 0},
      {"00", true, 0},
      {" 0\t", true, 0},
      {"007", true, 7},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"", false, 0},
      {"   ", false, 0},
      {"+0", false, 0},
      {"-0", false, 0},
      {"+", false, 0},
      {"- 3", false, 0},
      {"12a", false, 0},
      {"1 2", false, 0},
      {"0x10", false, 0},
      {"\n5", false, 0},
      {"5\n", false, 0},
      {"３", false, 0},
      {"99999999999", false, 0},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      // Only the first 31 characters count: what follows is never read.
      {"7" + std::string(30, ' ') + "garbage!!", true, 7},
      {std::string(31, ' ') + "5", false, 0},
      {"１２３４５６７８９０１２３４５６７８９０１２３４５６７８９０１" + std::string("9"), false,
       0},
  };
  for (const Case& c : cases) {
    ExchangeDlg dlg;
    RecordingHost host;
    dlg.SetHost(&host);
    backend().ClearMessages();
    dlg.OnInitDialog();
    dlg.UserSetText(IDC_FAKE_EDIT, c.text);
    dlg.UserClick(IDOK);
    EXPECT_EQ(dlg.IsEnded(), c.valid) << '"' << c.text << '"';
    if (c.valid) {
      EXPECT_EQ(dlg.GetResult(), IDOK);
      EXPECT_EQ(dlg.m_nText, c.value) << '"' << c.text << '"';
      EXPECT_TRUE(backend().Messages().empty());
    } else {
      EXPECT_EQ(dlg.m_nText, 50);
      ASSERT_EQ(backend().Messages().size(), 1u) << '"' << c.text << '"';
      EXPECT_EQ(backend().Messages()[0].text, "整数を入力してください。");
      EXPECT_EQ(backend().Messages()[0].type, MB_ICONEXCLAMATION);
      EXPECT_EQ(dlg.GetFocusedControl(), IDC_FAKE_EDIT);
      EXPECT_EQ(host.focus, (std::vector<std::pair<int, bool>>{{IDC_FAKE_EDIT, true}}));
    }
  }
}

TEST_F(DialogTest, FailedValidationStopsTheExchangeBeforeLaterControls) {
  ExchangeDlg dlg;
  dlg.OnInitDialog();
  dlg.UserClick(IDC_FAKE_CHECK);
  dlg.UserMoveTrackbar(IDC_FAKE_TRACKBAR, 80);
  dlg.UserSetText(IDC_FAKE_EDIT, "abc");
  EXPECT_FALSE(dlg.UpdateData(true));
  EXPECT_EQ(dlg.m_bCheck, 1);
  EXPECT_EQ(dlg.m_nSlider, 50);
}

TEST_F(DialogTest, ExchangeTowardsTheControls) {
  ExchangeDlg dlg;
  dlg.m_bCheck = 7;
  dlg.m_nText = -12;
  dlg.m_nSlider = 40;
  dlg.OnInitDialog();
  EXPECT_EQ(dlg.m_bCheck, 0);
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_FAKE_CHECK), 0);
  EXPECT_EQ(dlg.GetDlgItemText(IDC_FAKE_EDIT), "-12");
  EXPECT_EQ(dlg.GetTrackbarPos(IDC_FAKE_TRACKBAR), 40);

  dlg.m_bCheck = 2;
  dlg.UpdateData(false);
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_FAKE_CHECK), 2);
}

TEST_F(DialogTest, EditTextChangesSendEnChangeLikeTheNativeControl) {
  ExchangeDlg dlg;
  dlg.OnInitDialog();  // the exchange sets the text too
  dlg.SetDlgItemText(IDC_FAKE_EDIT, "20");
  dlg.UserSetText(IDC_FAKE_EDIT, "30");
  dlg.SetDlgItemText(IDC_FAKE_CHECK, "other caption");
  const std::vector<std::pair<int, UINT>> want(3, {IDC_FAKE_EDIT, EN_CHANGE});
  EXPECT_EQ(dlg.notifications, want);
  EXPECT_EQ(dlg.GetDlgItemText(IDC_FAKE_EDIT), "30");
}

TEST_F(DialogTest, TrackbarSetByProgramIsLimitedAndSilent) {
  ExchangeDlg dlg;
  RecordingHost host;
  dlg.SetHost(&host);
  struct Case {
    int asked, want;
  };
  for (const Case& c : {Case{150, 100}, Case{-5, 0}, Case{35, 35}}) {
    dlg.SetTrackbarPos(IDC_FAKE_TRACKBAR, c.asked);
    EXPECT_EQ(dlg.GetTrackbarPos(IDC_FAKE_TRACKBAR), c.want);
  }
  dlg.SetTrackbarRangeMax(IDC_FAKE_TRACKBAR, 20);
  EXPECT_EQ(dlg.GetTrackbarPos(IDC_FAKE_TRACKBAR), 20);
  dlg.SetTrackbarRangeMin(IDC_FAKE_TRACKBAR, 25);
  dlg.SetTrackbarRangeMax(IDC_FAKE_TRACKBAR, 60);
  EXPECT_EQ(dlg.GetTrackbarPos(IDC_FAKE_TRACKBAR), 25);
  dlg.SetTrackbarTicFreq(IDC_FAKE_TRACKBAR, 5);
  EXPECT_EQ(dlg.GetControlState(IDC_FAKE_TRACKBAR).ticFreq, 5);
  EXPECT_TRUE(dlg.scrolls.empty());
  EXPECT_TRUE(dlg.notifications.empty());
  EXPECT_EQ(host.changed.size(), 7u);
}

TEST_F(DialogTest, MovingTheTrackbarSendsHScroll) {
  ExchangeDlg dlg;
  dlg.UserMoveTrackbar(IDC_FAKE_TRACKBAR, 40);
  dlg.UserMoveTrackbar(IDC_FAKE_TRACKBAR, 130, TB_THUMBTRACK);
  dlg.UserMoveTrackbar(IDC_FAKE_TRACKBAR, 95, TB_PAGEDOWN);
  const std::vector<ExchangeDlg::Scroll> want{{TB_THUMBPOSITION, 40, IDC_FAKE_TRACKBAR},
                                              {TB_THUMBTRACK, 100, IDC_FAKE_TRACKBAR},
                                              {TB_PAGEDOWN, 0, IDC_FAKE_TRACKBAR}};
  EXPECT_EQ(dlg.scrolls, want);
  EXPECT_EQ(dlg.GetTrackbarPos(IDC_FAKE_TRACKBAR), 95);
}

TEST_F(DialogTest, ClickingACheckBoxTogglesIt) {
  ExchangeDlg dlg;
  dlg.UserClick(IDC_FAKE_CHECK);
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_FAKE_CHECK), 1);
  dlg.UserClick(IDC_FAKE_CHECK);
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_FAKE_CHECK), 0);
  EXPECT_EQ(dlg.notifications,
            (std::vector<std::pair<int, UINT>>(2, {IDC_FAKE_CHECK, BN_CLICKED})));
}

TEST_F(DialogTest, RadioGroupRunsFromOneGroupControlToTheNext) {
  RadioDlg dlg;
  const std::vector<int> group{IDC_FAKE_RADIO_FIRST, IDC_FAKE_RADIO_SECOND};
  EXPECT_EQ(dlg.GetRadioGroup(IDC_FAKE_RADIO_FIRST), group);
  EXPECT_EQ(dlg.GetRadioGroup(IDC_FAKE_RADIO_SECOND), group);
  EXPECT_TRUE(dlg.GetRadioGroup(IDOK).empty());
  EXPECT_THROW(dlg.GetRadioGroup(4711), std::logic_error);
}

TEST_F(DialogTest, RadioExchangeAndClicks) {
  RadioDlg dlg;
  dlg.OnInitDialog();
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_FAKE_RADIO_FIRST), 0);
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_FAKE_RADIO_SECOND), 1);

  dlg.UserClick(IDC_FAKE_RADIO_FIRST);
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_FAKE_RADIO_FIRST), 1);
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_FAKE_RADIO_SECOND), 0);
  dlg.UserClick(IDC_FAKE_RADIO_FIRST);
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_FAKE_RADIO_FIRST), 1);
  dlg.UserClick(IDOK);
  EXPECT_EQ(dlg.GetResult(), IDOK);
  EXPECT_EQ(dlg.m_nOption, 0);

  RadioDlg none;
  none.m_nOption = -1;
  none.OnInitDialog();
  EXPECT_EQ(none.IsDlgButtonChecked(IDC_FAKE_RADIO_FIRST), 0);
  EXPECT_EQ(none.IsDlgButtonChecked(IDC_FAKE_RADIO_SECOND), 0);
  none.m_nOption = 5;
  EXPECT_TRUE(none.UpdateData(true));
  EXPECT_EQ(none.m_nOption, -1);
}

TEST_F(DialogTest, ControlsAndTemplatesMustExist) {
  EXPECT_THROW(CDialog(4711), std::logic_error);
  RadioDlg dlg;
  EXPECT_THROW(dlg.GetDlgItemText(4711), std::logic_error);
  EXPECT_THROW(dlg.UserClick(4711), std::logic_error);
  EXPECT_EQ(dlg.GetDlgItemText(IDC_FAKE_RADIO_SECOND), kFakeSecondOption);
}

TEST_F(DialogTest, ScriptedModalRunEndsWithOk) {
  backend().QueueDialog([](CDialog& dlg) {
    dlg.UserSetText(IDC_FAKE_EDIT, "75");
    dlg.UserMoveTrackbar(IDC_FAKE_TRACKBAR, 40);
    dlg.UserClick(IDC_FAKE_CHECK);
    dlg.UserClick(IDOK);
  });
  ExchangeDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_nText, 75);
  EXPECT_EQ(dlg.m_nSlider, 40);
  EXPECT_EQ(dlg.m_bCheck, 1);
  EXPECT_EQ(backend().DialogsRun(), std::vector<UINT>{IDD_FAKE_EXCHANGE});
}

TEST_F(DialogTest, UnscriptedOrUnfinishedModalRunsAreCancelled) {
  struct Case {
    const char* name;
    bool queue;
    HeadlessBackend::DialogScript script;
    std::size_t messages;
  };
  const Case cases[] = {
      {"no script", false, nullptr, 0},
      {"left open", true, [](CDialog& dlg) { dlg.UserSetText(IDC_FAKE_EDIT, "60"); }, 0},
      {"failed validation", true,
       [](CDialog& dlg) {
         dlg.UserSetText(IDC_FAKE_EDIT, "sixty");
         dlg.UserClick(IDOK);
       },
       1},
      {"cancel", true, [](CDialog& dlg) { dlg.UserClick(IDCANCEL); }, 0},
  };
  for (const Case& c : cases) {
    backend().ClearMessages();
    if (c.queue)
      backend().QueueDialog(c.script);
    ExchangeDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.name;
    EXPECT_EQ(dlg.m_nText, 50) << c.name;
    EXPECT_EQ(backend().Messages().size(), c.messages) << c.name;
  }
}

TEST_F(DialogTest, ADialogThatRefusesToCancelStillEnds) {
  class Stubborn : public RadioDlg {
   public:
    void OnCancel() override { ++cancels; }
    int cancels = 0;
  };
  Stubborn dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.cancels, 1);
}

TEST_F(DialogTest, EachModalRunStartsFromFreshControls) {
  RadioDlg dlg;
  backend().QueueDialog([](CDialog& d) {
    d.UserClick(IDC_FAKE_RADIO_FIRST);
    d.UserClick(IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_nOption, 0);
  dlg.m_nOption = 1;
  backend().QueueDialog([](CDialog& d) { d.UserClick(IDOK); });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_nOption, 1);
}

}  // namespace
}  // namespace qov
