// Dialogs built from their templates: for every row of every template, the
// widget, its geometry in the dialog font's units and its place in the tab
// order; and how the threshold, VectorScript and page dialogs answer a person.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "export/VectorScriptDlg.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/QtTemplateDialog.h"
#include "raster/ThresholdDlg.h"
#include "res/Resource.h"
#include "res/SystemResources.h"
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

// The widget each kind of control becomes.
const char* KindOf(DialogControlTemplate::Kind kind) {
  switch (kind) {
    case DialogControlTemplate::PushButton:
      return "button";
    case DialogControlTemplate::DefPushButton:
      return "default button";
    case DialogControlTemplate::CheckBox:
      return "check box";
    case DialogControlTemplate::Edit:
      return "edit";
    case DialogControlTemplate::Static:
      return "static";
    case DialogControlTemplate::Trackbar:
      return "trackbar";
    case DialogControlTemplate::RadioButton:
      return "radio button";
    case DialogControlTemplate::Icon:
      return "icon";
  }
  return "other";
}

// The fonts the templates name, as this machine has them.
const std::map<std::string, std::string> kFamilies{{"ＭＳ ゴシック", "IPAGothic"},
                                                   {"ＭＳ Ｐゴシック", "IPAPGothic"}};

// The controls of `window` that stand for a template row, in template order.
std::vector<QWidget*> Controls(const QtTemplateDialog& window) {
  std::vector<QWidget*> controls;
  for (QWidget* w : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (w->property(QtTemplateDialog::kControlIdProperty).isValid())
      controls.push_back(w);
  }
  return controls;
}

// Texts the program is known by, whatever else the templates hold: a
// dialog's caption (control 0) or the text of one of its controls.
struct FixedText {
  UINT dialog;
  int control;
  const char* text;
};

const FixedText kFixedTexts[] = {
    {IDD_ABOUTBOX, 0, "QOVのﾊﾞｰｼﾞｮﾝ情報"},
    {IDD_ABOUTBOX, IDC_STATIC, "QOV Version 2.0.4"},
    {IDD_THRESHOLD, 0, "しきい値設定"},
    {IDD_THRESHOLD, IDC_CHECK_OUTLINE, "輪郭処理"},
    {IDD_VECTORSCRIPT, 0, "保存VectorScript"},
    {IDD_VECTORSCRIPT, IDC_RADIO_ALLCOLORS, "すべての色を出力する"},
    {IDD_VECTORSCRIPT, IDC_RADIO_NOWHITE, "白に限りなく近い色は出力しない"},
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

TEST_F(TemplateDialog, BuildsEveryControlOfEveryTemplateAtItsPlaceInDialogUnits) {
  for (const DialogTemplate* tmpl : SystemResources().dialogs) {
    SCOPED_TRACE(tmpl->caption);
    CDialog dlg(tmpl->id);
    QtTemplateDialog window(dlg, nullptr);
    EXPECT_EQ(window.windowTitle().toStdString(), tmpl->caption);
    EXPECT_EQ(window.font().family().toStdString(), kFamilies.at(tmpl->fontName));

    // The units by hand: average letter width rounded, and the font's height.
    const QFontMetrics metrics(window.font());
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int bx = (letters / 26 + 1) / 2;
    const int by = metrics.height();
    auto px = [](int dlu, int base, int per) { return (dlu * base * 2 + per) / (2 * per); };
    EXPECT_EQ(window.size(), QSize(px(tmpl->cx, bx, 4), px(tmpl->cy, by, 8)));

    const std::vector<QWidget*> controls = Controls(window);
    ASSERT_EQ(controls.size(), tmpl->controls.size());
    std::vector<int> tabOrder;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const DialogControlTemplate& row = tmpl->controls[i];
      QWidget* w = controls[i];
      SCOPED_TRACE(i);
      EXPECT_EQ(w->property(QtTemplateDialog::kControlIdProperty).toInt(), row.id);
      EXPECT_STREQ(KindOf(w), KindOf(row.kind));
      EXPECT_EQ(w->pos(), QPoint(px(row.x, bx, 4), px(row.y, by, 8)));
      // An icon's text names it, and it keeps its own size.
      if (row.kind != DialogControlTemplate::Icon) {
        EXPECT_EQ(TextOf(w).toStdString(), row.text);
        EXPECT_EQ(w->size(), QSize(px(row.cx, bx, 4), px(row.cy, by, 8)));
      }
      if (row.style & WS_TABSTOP)
        tabOrder.push_back(row.id);
    }

    std::vector<int> order;
    QWidget* w = window.Control(tabOrder.front());
    for (std::size_t i = 0; i < tabOrder.size() && w; ++i) {
      order.push_back(w->property(QtTemplateDialog::kControlIdProperty).toInt());
      do {
        w = w->nextInFocusChain();
      } while (w != &window && !(w->focusPolicy() & Qt::TabFocus));
    }
    EXPECT_EQ(order, tabOrder);
  }
}

TEST_F(TemplateDialog, ShowsTheTextsTheProgramIsKnownBy) {
  for (const FixedText& fixed : kFixedTexts) {
    SCOPED_TRACE(fixed.text);
    CDialog dlg(fixed.dialog);
    QtTemplateDialog window(dlg, nullptr);
    std::vector<std::string> texts;
    if (fixed.control == 0)
      texts.push_back(window.windowTitle().toStdString());
    for (QWidget* w : Controls(window)) {
      if (fixed.control != 0 && w->property(QtTemplateDialog::kControlIdProperty) == fixed.control)
        texts.push_back(TextOf(w).toStdString());
    }
    EXPECT_NE(std::find(texts.begin(), texts.end(), fixed.text), texts.end());
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
