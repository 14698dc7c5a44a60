#pragma once
// The main frame's window: menu bar, accelerators and the view as its only
// content (no toolbar, no status bar), the caption, and dropped files.

#include <QMainWindow>

#include "shell/AppBackend.h"

namespace qov {

class CFrameWnd;
class QtMenus;

class QtMainWindow : public QMainWindow, public IFrameHost {
  Q_OBJECT

 public:
  explicit QtMainWindow(CFrameWnd& frame);
  ~QtMainWindow() override;

  void SetWindowText(const std::string& text) override;
  std::string GetWindowText() const override;
  void ShowWindow() override;
  void UpdateWindow() override;
  bool IsWindowVisible() const override { return isVisible(); }
  void DragAcceptFiles(bool accept) override { setAcceptDrops(accept); }
  void RecentFilesChanged() override;

  QtMenus* Menus() const { return m_menus; }
  // The size the window has before it is first shown.
  static QSize DefaultSize();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  CFrameWnd& m_frame;
  QtMenus* m_menus;
};

}  // namespace qov
