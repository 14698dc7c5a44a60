// Dialogs built from their templates: the widgets, their geometry in the
// dialog font's units, the tab order, and how the threshold, VectorScript
// and page dialogs answer a person.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "export/VectorScriptDlg.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/QtTemplateDialog.h"
#include "raster/ThresholdDlg.h"
#include "res/Resource.h"
#include "shell/PageDlg.h"
#include "tests/gui/GuiSupport.h"

namespace qov::test {
namespace {

const char* KindOf(const QWidget* w) {
  if (qobject_cast<const QPushButton*>(w)) {
    return static_cast<const QPushButton*>(w)->isDefault() ? "default button" : "button";
  }
  if (qobject_cast<const QCheckBox*>(w))
    return "check box";
  if (qobject_cast<const QRadioButton*>(w))
    return "radio button";
  if (qobject_cast<const QLineEdit*>(w))
    return "edit";
  if (qobject_cast<const QSlider*>(w))
    return "trackbar";
  if (auto* label = qobject_cast<const QLabel*>(w))
    return label->pixmap().isNull() ? "static" : "icon";
  return "other";
}

QString TextOf(const QWidget* w) {
  if (auto* b = qobject_cast<const QAbstractButton*>(w))
    return b->text();
  if (auto* l = qobject_cast<const QLabel*>(w))
    return l->text();
  if (auto* e = qobject_cast<const QLineEdit*>(w))
    return e->text();
  return {};
}

struct Expected {
  int id;
  const char* kind;
  const char* text;
  int x, y, cx, cy;
};

struct TemplateCase {
  UINT id;
  const char* caption;
  const char* family;
  int cx, cy;
  std::vector<Expected> controls;  // template order
  std::vector<int> tabOrder;
};

const std::vector<TemplateCase> kTemplates{
    {IDD_ABOUTBOX,
     "QOVのﾊﾞｰｼﾞｮﾝ情報",
     "IPAGothic",
     235,
     55,
     {{IDC_STATIC, "icon", "", 11, 27, 0, 0},
      {IDC_STATIC, "static", "QOV Version 2.0.4", 40, 10, 119, 8},
      {IDC_STATIC, "static", nullptr, 40, 25, 119, 8},
      {IDOK, "default button", "OK", 178, 7, 50, 14}},
     {IDOK}},
    {IDD_THRESHOLD,
     "しきい値設定",
     "IPAPGothic",
     187,
     65,
     {{IDOK, "default button", "OK", 130, 7, 50, 14},
      {IDCANCEL, "button", "ｷｬﾝｾﾙ", 130, 24, 50, 14},
      {1000, "trackbar", "", 15, 13, 103, 11},
      {1001, "check box", "輪郭処理", 19, 43, 46, 10},
      {1002, "edit", "", 86, 41, 15, 14},
      {IDC_STATIC, "static", "%", 105, 43, 12, 9}},
     {IDOK, IDCANCEL, 1000, 1001, 1002}},
    {IDD_VECTORSCRIPT,
     "保存VectorScript",
     "IPAPGothic",
     206,
     103,
     {{IDOK, "default button", "OK", 160, 7, 39, 14},
      {IDCANCEL, "button", "ｷｬﾝｾﾙ", 160, 24, 39, 14},
      {IDC_STATIC, "static",
       "24ビットカラービットマップをVectorScriptファイルに出力します。変換方法を選択してください。",
       20, 13, 122, 30},
      {1006, "radio button", "すべての色を出力する", 13, 47, 138, 17},
      {1007, "radio button", "白に限りなく近い色は出力しない", 13, 67, 135, 17}},
     {IDOK, IDCANCEL, 1006}},
    {IDD_PAGE,
     "ページの選択",
     "IPAPGothic",
     160,
     110,
     {{IDC_STATIC, "static", "このファイルには次のページがあります:", 7, 7, 100, 18},
      {IDC_STATIC_PAGES, "static", "", 12, 27, 90, 54},
      {IDC_STATIC, "static", "開くページ", 7, 89, 40, 9},
      {IDC_EDIT_PAGE, "edit", "", 50, 87, 30, 13},
      {IDOK, "default button", "OK", 114, 7, 39, 14},
      {IDCANCEL, "button", "ｷｬﾝｾﾙ", 114, 24, 39, 14}},
     {IDC_EDIT_PAGE, IDOK, IDCANCEL}},
};

class TemplateDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    QOV_REQUIRE_QT();
    m_previous = SetPlatformBackend(&m_platform);
  }
  void TearDown() override { SetPlatformBackend(m_previous); }

 private:
  QtBackend m_platform;
  IPlatformBackend* m_previous = nullptr;
};

TEST_F(TemplateDialog, BuildsEveryControlAtItsPlaceInDialogUnits) {
  for (const TemplateCase& c : kTemplates) {
    SCOPED_TRACE(c.caption);
    CDialog dlg(c.id);
    QtTemplateDialog window(dlg, nullptr);
    EXPECT_EQ(window.windowTitle().toStdString(), c.caption);
    EXPECT_EQ(window.font().family().toStdString(), c.family);

    // The units by hand: average letter width rounded, and the font's height.
    const QFontMetrics metrics(window.font());
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int bx = (letters / 26 + 1) / 2;
    const int by = metrics.height();
    auto px = [](int dlu, int base, int per) { return (dlu * base * 2 + per) / (2 * per); };
    EXPECT_EQ(window.size(), QSize(px(c.cx, bx, 4), px(c.cy, by, 8)));

    const auto widgets = window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    std::vector<QWidget*> controls;
    for (QWidget* w : widgets) {
      if (w->property(QtTemplateDialog::kControlIdProperty).isValid())
        controls.push_back(w);
    }
    ASSERT_EQ(controls.size(), c.controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const Expected& e = c.controls[i];
      QWidget* w = controls[i];
      SCOPED_TRACE(i);
      EXPECT_EQ(w->property(QtTemplateDialog::kControlIdProperty).toInt(), e.id);
      EXPECT_STREQ(KindOf(w), e.kind);
      if (e.text) {
        EXPECT_EQ(TextOf(w).toStdString(), e.text);
      }
      EXPECT_EQ(w->pos(), QPoint(px(e.x, bx, 4), px(e.y, by, 8)));
      if (e.cx) {
        EXPECT_EQ(w->size(), QSize(px(e.cx, bx, 4), px(e.cy, by, 8)));
      }
    }

    std::vector<int> order;
    QWidget* w = window.Control(c.tabOrder.front());
    for (std::size_t i = 0; i < c.tabOrder.size() && w; ++i) {
      order.push_back(w->property(QtTemplateDialog::kControlIdProperty).toInt());
      do {
        w = w->nextInFocusChain();
      } while (w != &window && !(w->focusPolicy() & Qt::TabFocus));
    }
    EXPECT_EQ(order, c.tabOrder);
  }
}

TEST_F(TemplateDialog, ThresholdFollowsTheTrackbarAndRefusesTextThatIsNoInteger) {
  CThresholdDlg dlg;
  QString message;
  bool stayedOpen = false;
  bool editFocusedAndSelected = false;
  QString editAfterMove;
  WhenModalShows([&](QWidget* window) {
    auto* slider = qobject_cast<QSlider*>(DialogControl(window, 1000));
    auto* edit = qobject_cast<QLineEdit*>(DialogControl(window, 1002));
    ASSERT_TRUE(slider && edit);
    EXPECT_EQ(slider->tickInterval(), 5);
    EXPECT_EQ(slider->orientation(), Qt::Horizontal);
    EXPECT_EQ(edit->text(), QStringLiteral("50"));
    QTest::keyClick(slider, Qt::Key_Right);
    slider->triggerAction(QAbstractSlider::SliderPageStepSub);
    editAfterMove = edit->text();

    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("4x"));
    AnswerMessageBox(QMessageBox::Ok, &message);
    qobject_cast<QPushButton*>(DialogControl(window, IDOK))->click();
    stayedOpen = window->isVisible();
    editFocusedAndSelected =
        window->focusWidget() == edit && edit->selectedText() == QStringLiteral("4x");
    QTest::keyClick(window, Qt::Key_Escape);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(editAfterMove, QStringLiteral("31"));
  EXPECT_EQ(message, QStringLiteral("整数を入力してください。"));
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(editFocusedAndSelected);
}

TEST_F(TemplateDialog, ThresholdOkReturnsTheTrackbarPositionAndTheOutlineBox) {
  CThresholdDlg dlg;
  WhenModalShows([](QWidget* window) {
    qobject_cast<QSlider*>(DialogControl(window, 1000))
        ->triggerAction(QAbstractSlider::SliderToMaximum);
    qobject_cast<QCheckBox*>(DialogControl(window, 1001))->click();
    QTest::keyClick(window, Qt::Key_Return);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_nThreshold, 100);
  EXPECT_TRUE(dlg.m_bOutline);
}

TEST_F(TemplateDialog, VectorScriptOpensOnItsSecondOptionAndReturnsTheChosenOne) {
  CVectorScriptDlg dlg;
  dlg.m_nColorOption = 1;
  bool secondChecked = false;
  WhenModalShows([&](QWidget* window) {
    secondChecked = qobject_cast<QRadioButton*>(DialogControl(window, 1007))->isChecked();
    qobject_cast<QRadioButton*>(DialogControl(window, 1006))->click();
    qobject_cast<QPushButton*>(DialogControl(window, IDOK))->click();
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(secondChecked);
  EXPECT_EQ(dlg.m_nColorOption, 0);
}

// A long list shows its first pages, an ellipsis and its last page.
TEST_F(TemplateDialog, PageListsThePagesWithTheirSizesAndReturnsThePageTyped) {
  struct Case {
    std::vector<CSize> pages;
    const char* list;
  };
  for (const Case& c : {Case{{{2480, 3508}, {5, 3}}, "1: 2480 × 3508\n2: 5 × 3"},
                        Case{std::vector<CSize>(8, {4, 2}),
                             "1: 4 × 2\n2: 4 × 2\n3: 4 × 2\n4: 4 × 2\n…\n8: 4 × 2"}}) {
    CPageDlg dlg(c.pages);
    QString list, typed;
    WhenModalShows([&](QWidget* window) {
      list = TextOf(DialogControl(window, IDC_STATIC_PAGES));
      auto* edit = qobject_cast<QLineEdit*>(DialogControl(window, IDC_EDIT_PAGE));
      typed = edit->text();
      edit->selectAll();
      QTest::keyClicks(edit, QStringLiteral("2"));
      QTest::keyClick(window, Qt::Key_Return);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(list.toStdString(), c.list);
    EXPECT_EQ(typed, QStringLiteral("1"));
    EXPECT_EQ(dlg.m_nPage, 2);
  }
}

TEST_F(TemplateDialog, EscapeCancelsEveryDialog) {
  for (UINT id : {IDD_ABOUTBOX, IDD_THRESHOLD, IDD_VECTORSCRIPT, IDD_PAGE}) {
    SCOPED_TRACE(id);
    CDialog dlg(id);
    WhenModalShows([](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  }
}

}  // namespace
}  // namespace qov::test
