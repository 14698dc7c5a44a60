// The menu bar and the accelerators of the main window, against the table
// the program is specified by, and the update handlers behind them.

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QTest>

#include "platform/qt/QtClipboard.h"
#include "res/Resource.h"
#include "shell/qt/QtMainWindow.h"
#include "shell/qt/QtMenus.h"
#include "tests/gui/GuiSupport.h"

namespace qov::test {
namespace {

// One line per item as the menu bar shows it: depth, text, id ("-" for a
// separator, ">" for a submenu).
std::vector<std::string> Describe(const QList<QAction*>& actions, int depth) {
  std::vector<std::string> out;
  for (QAction* action : actions) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    if (action->isSeparator()) {
      out.push_back(indent + "-");
    } else if (action->menu()) {
      out.push_back(indent + "> " + action->text().toStdString());
      for (auto& line : Describe(action->menu()->actions(), depth + 1))
        out.push_back(line);
    } else {
      out.push_back(indent + action->text().toStdString() + " " +
                    action->property(QtMenus::kCommandIdProperty).toString().toStdString());
    }
  }
  return out;
}

const std::vector<std::string> kExpectedMenu{
    "> ﾌｧｲﾙ(&F)",
    "  新規作成(&N)\tCtrl+N 57600",
    "  開く(&O)...\tCtrl+O 57601",
    "  上書き保存(&S)\tCtrl+S 57603",
    "  名前を付けて保存(&A)... 57604",
    "  -",
    "  印刷(&P)...\tCtrl+P 57607",
    "  印刷ﾌﾟﾚﾋﾞｭｰ(&V) 57609",
    "  ﾌﾟﾘﾝﾀの設定(&R)... 57606",
    "  -",
    "  最近使ったﾌｧｲﾙ 57616",
    "  -",
    "  ｱﾌﾟﾘｹｰｼｮﾝの終了(&X) 57665",
    "> 編集(&E)",
    "  元に戻す(&U)\tCtrl+Z 57643",
    "  -",
    "  切り取り(&T)\tCtrl+X 57635",
    "  ｺﾋﾟｰ(&C)\tCtrl+C 57634",
    "  貼り付け(&P)\tCtrl+V 57637",
    "> ツール",
    "  > ２値化",
    "    単純２値化 32784",
    "    ディザリング１ 32785",
    "    ディザリング２ 32786",
    "    誤差分散 32790",
    "  輪郭処理 32773",
    "  > 保存(DXFファイル)",
    "    ドットを×に変換 32774",
    "    ドットとドットを線で結ぶ 32780",
    "    オートトレース 32791",
    "    ベクトル化... 32792",
    "  保存(VectorScript) 32789",
    "> スケール",
    "  ×１ 32775",
    "  ×２ 32776",
    "  ×４ 32778",
    "  ×８ 32779",
    "  ウィンドウに合わせる 32800",
    "  ×１／２ 32801",
    "  ×１／４ 32802",
    "  ×１／８ 32803",
    "> ﾍﾙﾌﾟ(&H)",
    "  QOV_V2 のﾊﾞｰｼﾞｮﾝ情報(&A)... 57664",
};

QtMainWindow* Window(Session& s) {
  return static_cast<QtMainWindow*>(s.MainWindow());
}

// The action of command `id` after its menu's update handlers ran.
QAction* UpdatedAction(Session& s, UINT id) {
  for (QMenu* menu : Window(s)->menuBar()->findChildren<QMenu*>()) {
    for (QAction* action : menu->actions()) {
      if (action->property(QtMenus::kCommandIdProperty).toUInt() == id) {
        Window(s)->Menus()->UpdateMenu(menu);
        return action;
      }
    }
  }
  return nullptr;
}

class MenuBar : public ::testing::Test {
 protected:
  void SetUp() override {
    QOV_REQUIRE_QT();
    WriteBmp(picture, MakePicture(8, 6, [](std::int64_t x, std::int64_t y) {
               return Bgr{static_cast<std::uint8_t>(x * 30), 0, static_cast<std::uint8_t>(y * 40)};
             }));
  }
  TempDir dir;
  std::string picture = dir.File("picture.bmp");
};

TEST_F(MenuBar, ShowsEveryItemOfTheTableWithItsTextAndId) {
  // A settings store of its own, so that no recent file replaces the placeholder.
  static const TempDir emptyConfig;
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(emptyConfig.path().string()));
  Session s;
  ASSERT_TRUE(s.Started());
  EXPECT_EQ(Describe(Window(s)->menuBar()->actions(), 0), kExpectedMenu);
  QAction* recent = UpdatedAction(s, ID_FILE_MRU_FILE1);
  ASSERT_NE(recent, nullptr);
  EXPECT_FALSE(recent->isEnabled());
}

TEST_F(MenuBar, AcceleratorTableBindsEveryKeyToItsCommand) {
  Session s;
  ASSERT_TRUE(s.Started());
  std::map<std::string, UINT> keys;
  for (QShortcut* shortcut : Window(s)->findChildren<QShortcut*>()) {
    keys[shortcut->key().toString().toStdString()] =
        shortcut->property(QtMenus::kCommandIdProperty).toUInt();
  }
  const std::map<std::string, UINT> expected{
      {"Ctrl+N", ID_FILE_NEW},
      {"Ctrl+O", ID_FILE_OPEN},
      {"Ctrl+S", ID_FILE_SAVE},
      {"Ctrl+P", ID_FILE_PRINT},
      {"Ctrl+Z", ID_EDIT_UNDO},
      {"Ctrl+X", ID_EDIT_CUT},
      {"Ctrl+C", ID_EDIT_COPY},
      {"Ctrl+V", ID_EDIT_PASTE},
      {"Alt+Backspace", ID_EDIT_UNDO},
      {"Shift+Del", ID_EDIT_CUT},
      {"Ctrl+Ins", ID_EDIT_COPY},
      {"Shift+Ins", ID_EDIT_PASTE},
      {"F6", ID_NEXT_PANE},
      {"Shift+F6", ID_PREV_PANE},
      {"Ctrl++", ID_ZOOM_IN},
      {"Ctrl+-", ID_ZOOM_OUT},
      {"Home", ID_SCROLL_HOME},
      {"End", ID_SCROLL_END},
      {"Ctrl+Home", ID_SCROLL_TOP_LEFT},
      {"Ctrl+End", ID_SCROLL_BOTTOM_RIGHT},
  };
  EXPECT_EQ(keys, expected);
}

TEST_F(MenuBar, UpdateHandlersSetEnabledAndCheckedStates) {
  struct Case {
    const char* name;
    bool withPicture;
    UINT scaleCommand;  // run first; 0 for none
    std::map<UINT, bool> enabled;
    std::map<UINT, bool> checked;
  };
  const std::vector<Case> cases{
      {"no picture",
       false,
       0,
       {{ID_EDIT_CUT, false},
        {ID_EDIT_COPY, false},
        {ID_EDIT_PASTE, true},
        {ID_EDIT_UNDO, true},
        {ID_OUTLINE, true},
        {ID_DOTS_TO_CROSSES, true},
        {ID_SCALE_8, true},
        {ID_FILE_SAVE, true}},
       {{ID_SCALE_1, true}, {ID_SCALE_2, false}, {ID_SCALE_4, false}, {ID_SCALE_8, false}}},
      {"picture at x4",
       true,
       ID_SCALE_4,
       {{ID_EDIT_CUT, false}, {ID_EDIT_COPY, true}, {ID_EDIT_PASTE, true}},
       {{ID_SCALE_1, false}, {ID_SCALE_2, false}, {ID_SCALE_4, true}, {ID_SCALE_8, false}}},
      {"picture at x1/4",
       true,
       ID_SCALE_QUARTER,
       {{ID_SCALE_FIT, true}, {ID_SCALE_QUARTER, true}},
       {{ID_SCALE_1, false}, {ID_SCALE_HALF, false}, {ID_SCALE_QUARTER, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session s(c.withPicture ? std::vector<std::string>{picture} : std::vector<std::string>{});
    ASSERT_TRUE(s.Started());
    if (c.scaleCommand)
      s.Frame().RunCommand(c.scaleCommand);
    for (const auto& [id, on] : c.enabled) {
      QAction* action = UpdatedAction(s, id);
      ASSERT_NE(action, nullptr) << id;
      EXPECT_EQ(action->isEnabled(), on) << id;
    }
    for (const auto& [id, on] : c.checked) {
      EXPECT_EQ(UpdatedAction(s, id)->isChecked(), on) << id;
    }
  }
}

TEST_F(MenuBar, AcceleratorsOfDisabledCommandsDoNothing) {
  struct Case {
    const char* name;
    bool withPicture;
    QKeyCombination key;
    bool copies;
  };
  const std::vector<Case> cases{
      {"Ctrl+C without a picture", false, QKeyCombination(Qt::ControlModifier, Qt::Key_C), false},
      {"Ctrl+Insert without a picture", false, QKeyCombination(Qt::ControlModifier, Qt::Key_Insert),
       false},
      {"Ctrl+X with a picture", true, QKeyCombination(Qt::ControlModifier, Qt::Key_X), false},
      {"Shift+Delete with a picture", true, QKeyCombination(Qt::ShiftModifier, Qt::Key_Delete),
       false},
      {"Ctrl+C with a picture", true, QKeyCombination(Qt::ControlModifier, Qt::Key_C), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session s(c.withPicture ? std::vector<std::string>{picture} : std::vector<std::string>{});
    ASSERT_TRUE(s.Started());
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
    QWidget* window = s.MainWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, c.key.key(), c.key.keyboardModifiers());
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(mime->hasFormat(QtClipboard::kDibMimeType), c.copies);
    EXPECT_EQ(mime->hasText(), !c.copies);
    // Other programs get a standard image, made when they ask for it.
    EXPECT_EQ(mime->hasImage(), c.copies);
    EXPECT_EQ(qvariant_cast<QImage>(mime->imageData()).isNull(), !c.copies);
  }
}

}  // namespace
}  // namespace qov::test
