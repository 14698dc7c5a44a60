#include "shell/qt/QtMainWindow.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>

#include "platform/Menu.h"
#include "shell/FrameWnd.h"
#include "shell/qt/QtMenus.h"

namespace qov {
namespace {

std::vector<std::string> LocalFiles(const QMimeData* mime) {
  std::vector<std::string> paths;
  if (!mime)
    return paths;
  for (const QUrl& url : mime->urls()) {
    if (url.isLocalFile())
      paths.push_back(url.toLocalFile().toStdString());
  }
  return paths;
}

}  // namespace

QtMainWindow::QtMainWindow(CFrameWnd& frame)
    : m_frame(frame),
      m_menus(new QtMenus(frame, menuBar(), LoadMenu(frame.GetResourceId()),
                          LoadAccelerators(frame.GetResourceId()), this)) {
  setObjectName(QStringLiteral("mainFrame"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/qov-%1.svg").arg(frame.GetResourceId())));
  resize(DefaultSize());
}

QtMainWindow::~QtMainWindow() = default;

QSize QtMainWindow::DefaultSize() {
  QSize size(800, 600);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    size = size.boundedTo(screen->availableSize() * 9 / 10);
  }
  return size;
}

void QtMainWindow::SetWindowText(const std::string& text) {
  setWindowTitle(QString::fromStdString(text));
}

std::string QtMainWindow::GetWindowText() const {
  return windowTitle().toStdString();
}

void QtMainWindow::ShowWindow() {
  show();
}

void QtMainWindow::UpdateWindow() {
  repaint();
}

void QtMainWindow::RecentFilesChanged() {
  m_menus->UpdateRecentFiles();
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  // The frame decides: it asks to save and ends the loop itself.
  event->ignore();
  m_frame.OnClose();
}

void QtMainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).empty())
    event->acceptProposedAction();
}

void QtMainWindow::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths = LocalFiles(event->mimeData());
  if (paths.empty())
    return;
  event->acceptProposedAction();
  // Opened once the drop has finished: a save prompt must not run inside
  // the drag-and-drop exchange with the other program.
  QTimer::singleShot(0, this, [this, paths = std::move(paths)]() mutable {
    m_frame.OnDropFiles(std::move(paths));
  });
}

}  // namespace qov
