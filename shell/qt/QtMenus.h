#pragma once
// The menu bar built from a menu resource, the accelerators built from an
// accelerator table, and the recent-file entries in place of their
// placeholder. Every item and key runs its command through the frame, whose
// update handlers decide first whether it is enabled.

#include <QKeySequence>
#include <QObject>
#include <span>
#include <vector>

#include "platform/Accelerators.h"
#include "platform/Menu.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace qov {

class CFrameWnd;

class QtMenus : public QObject {
  Q_OBJECT

 public:
  // The property that carries an action's command id.
  static constexpr const char* kCommandIdProperty = "qovCommandId";

  QtMenus(CFrameWnd& frame, QMenuBar* bar, const std::vector<MenuItem>& menu,
          std::span<const Accelerator> accelerators, QWidget* window);

  // Runs the update handlers of the items of `menu` (before it shows).
  void UpdateMenu(QMenu* menu);
  // Puts the recent-file list where its placeholder stands.
  void UpdateRecentFiles();

  // The key of an accelerator entry, as Qt names it.
  static QKeySequence KeySequence(const Accelerator& accelerator);

 private:
  void AddItems(QMenu* menu, const std::vector<MenuItem>& items);

  CFrameWnd& m_frame;
  QAction* m_recentPlaceholder = nullptr;
  QString m_recentPlaceholderText;
  std::vector<QAction*> m_recentExtra;
};

}  // namespace qov
