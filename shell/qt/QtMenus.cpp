#include "shell/qt/QtMenus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "res/Resource.h"
#include "shell/FrameWnd.h"
#include "shell/WinApp.h"

namespace qov {
namespace {

// An update handler's verdict, applied to the action.
class QtCmdUI : public CCmdUI {
 public:
  QtCmdUI(UINT id, QAction* action) : CCmdUI(id), m_pAction(action) {}
  void Enable(bool on) override {
    CCmdUI::Enable(on);
    m_pAction->setEnabled(on);
  }
  void SetCheck(int check) override {
    CCmdUI::SetCheck(check);
    // Only the checked item shows a box, as the framework's menus did: an
    // item checked once would otherwise keep an empty one.
    m_pAction->setCheckable(check != 0);
    m_pAction->setChecked(check != 0);
  }

 private:
  QAction* m_pAction;
};

UINT CommandOf(const QAction* action) {
  return action->property(QtMenus::kCommandIdProperty).toUInt();
}

Qt::Key KeyOf(WORD vk) {
  if (vk >= 'A' && vk <= 'Z')
    return static_cast<Qt::Key>(Qt::Key_A + (vk - 'A'));
  switch (vk) {
    case VK_BACK:
      return Qt::Key_Backspace;
    case VK_INSERT:
      return Qt::Key_Insert;
    case VK_DELETE:
      return Qt::Key_Delete;
    case VK_F6:
      return Qt::Key_F6;
    case VK_HOME:
      return Qt::Key_Home;
    case VK_END:
      return Qt::Key_End;
    case VK_OEM_PLUS:
      return Qt::Key_Plus;
    case VK_OEM_MINUS:
      return Qt::Key_Minus;
    default:
      return Qt::Key_unknown;
  }
}

}  // namespace

QtMenus::QtMenus(CFrameWnd& frame, QMenuBar* bar, const std::vector<MenuItem>& menu,
                 std::span<const Accelerator> accelerators, QWidget* window)
    : QObject(window), m_frame(frame) {
  for (const MenuItem& popup : menu) {
    QMenu* sub = bar->addMenu(QString::fromStdString(popup.text));
    AddItems(sub, popup.items);
  }
  for (const Accelerator& accelerator : accelerators) {
    auto* shortcut = new QShortcut(KeySequence(accelerator), window);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setProperty(kCommandIdProperty, accelerator.cmd);
    const UINT id = accelerator.cmd;
    connect(shortcut, &QShortcut::activated, this, [this, id] { m_frame.RunCommand(id); });
  }
  UpdateRecentFiles();
}

QKeySequence QtMenus::KeySequence(const Accelerator& accelerator) {
  Qt::KeyboardModifiers modifiers;
  if (accelerator.fVirt & FCONTROL)
    modifiers |= Qt::ControlModifier;
  if (accelerator.fVirt & FSHIFT)
    modifiers |= Qt::ShiftModifier;
  if (accelerator.fVirt & FALT)
    modifiers |= Qt::AltModifier;
  return QKeySequence(QKeyCombination(modifiers, KeyOf(accelerator.key)));
}

void QtMenus::AddItems(QMenu* menu, const std::vector<MenuItem>& items) {
  connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
  for (const MenuItem& item : items) {
    switch (item.kind) {
      case MenuItem::Separator:
        menu->addSeparator();
        break;
      case MenuItem::Popup:
        AddItems(menu->addMenu(QString::fromStdString(item.text)), item.items);
        break;
      case MenuItem::Command: {
        QAction* action = menu->addAction(QString::fromStdString(item.text));
        action->setProperty(kCommandIdProperty, item.id);
        action->setEnabled(!item.grayed);
        const UINT id = item.id;
        connect(action, &QAction::triggered, this, [this, id] { m_frame.RunCommand(id); });
        if (id == ID_FILE_MRU_FILE1) {
          m_recentPlaceholder = action;
          m_recentPlaceholderText = action->text();
        }
        break;
      }
    }
  }
}

void QtMenus::UpdateMenu(QMenu* menu) {
  for (QAction* action : menu->actions()) {
    const UINT id = CommandOf(action);
    if (id == 0)
      continue;
    QtCmdUI ui(id, action);
    UpdateCommandUI(m_frame, ui);
    action->setEnabled(ui.m_bEnabled);
  }
}

void QtMenus::UpdateRecentFiles() {
  if (!m_recentPlaceholder)
    return;
  for (QAction* extra : m_recentExtra)
    delete extra;
  m_recentExtra.clear();
  const CWinApp* app = AfxGetApp();
  const CRecentFileList* list = app ? app->GetRecentFileList() : nullptr;
  const int count = list ? list->GetCount() : 0;
  if (count == 0) {
    m_recentPlaceholder->setText(m_recentPlaceholderText);
    m_recentPlaceholder->setEnabled(false);
    return;
  }
  m_recentPlaceholder->setText(QString::fromStdString(list->GetDisplayName(0)));
  m_recentPlaceholder->setEnabled(true);
  QMenu* menu = qobject_cast<QMenu*>(m_recentPlaceholder->parent());
  const QList<QAction*> actions = menu ? menu->actions() : QList<QAction*>();
  const qsizetype at = actions.indexOf(m_recentPlaceholder);
  QAction* before = at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr;
  for (int i = 1; i < count && menu; ++i) {
    auto* action = new QAction(QString::fromStdString(list->GetDisplayName(i)), menu);
    const UINT id = ID_FILE_MRU_FILE1 + static_cast<UINT>(i);
    action->setProperty(kCommandIdProperty, id);
    connect(action, &QAction::triggered, this, [this, id] { m_frame.RunCommand(id); });
    menu->insertAction(before, action);
    m_recentExtra.push_back(action);
  }
}

}  // namespace qov
