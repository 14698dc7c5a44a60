// The menu bar and the accelerators of the main window, against the menu and
// accelerator tables they are built from, and the update handlers behind them.

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
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/qt/QtClipboard.h"
#include "res/Resource.h"
#include "shell/qt/QtMainWindow.h"
#include "shell/qt/QtMenus.h"
#include "tests/gui/GuiSupport.h"

namespace qov::test {
namespace {

// One line per item: depth, text, id ("-" for a separator, ">" for a
// submenu). As the menu bar shows it:
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

// And as the menu resource gives it.
std::vector<std::string> Describe(const std::vector<MenuItem>& items, int depth) {
  std::vector<std::string> out;
  for (const MenuItem& item : items) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    if (item.kind == MenuItem::Separator) {
      out.push_back(indent + "-");
    } else if (item.kind == MenuItem::Popup) {
      out.push_back(indent + "> " + item.text);
      for (auto& line : Describe(item.items, depth + 1))
        out.push_back(line);
    } else {
      out.push_back(indent + item.text + " " + std::to_string(item.id));
    }
  }
  return out;
}

// Items the program is known by, whatever else the table holds.
const std::vector<std::string> kFixedItems{
    "> ﾌｧｲﾙ(&F)",
    "  開く(&O)...\tCtrl+O 57601",
    "> ツール",
    "  > ２値化",
    "    単純２値化 32784",
    "  輪郭処理 32773",
    "    オートトレース 32791",
    "  保存(VectorScript) 32789",
    "  ×１ 32775",
    "  QOV_V2 のﾊﾞｰｼﾞｮﾝ情報(&A)... 57664",
};

// The key Qt shows for an accelerator entry: letters are their own names.
std::string KeyName(const Accelerator& entry) {
  const std::map<WORD, std::string> names{
      {VK_BACK, "Backspace"}, {VK_DELETE, "Del"}, {VK_INSERT, "Ins"}, {VK_F6, "F6"},
      {VK_HOME, "Home"},      {VK_END, "End"},    {VK_OEM_PLUS, "+"}, {VK_OEM_MINUS, "-"},
  };
  std::string name;
  if (entry.fVirt & FCONTROL)
    name += "Ctrl+";
  if (entry.fVirt & FALT)
    name += "Alt+";
  if (entry.fVirt & FSHIFT)
    name += "Shift+";
  const auto named = names.find(entry.key);
  return name +
         (named != names.end() ? named->second : std::string(1, static_cast<char>(entry.key)));
}

// Keys the program is known by.
const std::map<std::string, UINT> kFixedKeys{
    {"Ctrl+O", ID_FILE_OPEN}, {"Ctrl+Z", ID_EDIT_UNDO}, {"Alt+Backspace", ID_EDIT_UNDO},
    {"Ctrl+C", ID_EDIT_COPY}, {"F6", ID_NEXT_PANE},     {"Ctrl++", ID_ZOOM_IN},
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
  const std::vector<std::string> shown = Describe(Window(s)->menuBar()->actions(), 0);
  EXPECT_EQ(shown, Describe(LoadMenu(IDR_MAINFRAME), 0));
  for (const std::string& item : kFixedItems)
    EXPECT_NE(std::find(shown.begin(), shown.end(), item), shown.end()) << item;
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
  std::map<std::string, UINT> table;
  for (const Accelerator& entry : LoadAccelerators(IDR_MAINFRAME))
    table[KeyName(entry)] = entry.cmd;
  EXPECT_EQ(keys, table);
  for (const auto& [key, id] : kFixedKeys)
    EXPECT_EQ(keys[key], id) << key;
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
