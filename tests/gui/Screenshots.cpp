// qov-screenshots OUTDIR PICTURE: PNG pictures of every window of the
// desktop program, for people to look at (make screenshots).

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "res/Resource.h"
#include "res/SystemResources.h"
#include "shell/qt/QtMainWindow.h"
#include "tests/gui/GuiSupport.h"

namespace {

using namespace qov;
using namespace qov::test;

QString g_outDir;

void Save(const QPixmap& pixmap, const QString& name) {
  const QString path = g_outDir + QLatin1Char('/') + name + QStringLiteral(".png");
  if (!pixmap.save(path))
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  std::printf("%s\n", qPrintable(path));
}

// Windows carry no frame off screen: a plain title bar shows their caption.
QPixmap Framed(const QWidget* window, const QPixmap& content) {
  constexpr int kBar = 24;
  QPixmap canvas(content.width(), content.height() + kBar);
  canvas.fill(QColor(0x20, 0x4a, 0x87));
  QPainter painter(&canvas);
  painter.drawPixmap(0, kBar, content);
  painter.setPen(Qt::white);
  painter.setFont(window->font());
  int x = 6;
  if (!window->windowIcon().isNull()) {
    painter.drawPixmap(x, 4, window->windowIcon().pixmap(16));
    x += 22;
  }
  painter.drawText(QRect(x, 0, canvas.width() - x, kBar), Qt::AlignVCenter, window->windowTitle());
  return canvas;
}

void Settle() {
  for (int i = 0; i < 5; ++i) {
    QApplication::processEvents();
    QThread::msleep(20);
  }
}

// The window with its open menus painted where they stand.
QPixmap WithMenus(QWidget* window, const std::vector<QMenu*>& menus) {
  QPixmap base = window->grab();
  QRect bounds(QPoint(0, 0), base.size());
  for (QMenu* menu : menus)
    bounds |= QRect(window->mapFromGlobal(menu->pos()), menu->size());
  QPixmap canvas(bounds.size());
  canvas.fill(Qt::darkGray);
  QPainter painter(&canvas);
  painter.drawPixmap(-bounds.topLeft(), base);
  for (QMenu* menu : menus) {
    painter.drawPixmap(window->mapFromGlobal(menu->pos()) - bounds.topLeft(), menu->grab());
  }
  painter.end();
  return Framed(window, canvas);
}

void ShootMenus(QtMainWindow* window) {
  QMenuBar* bar = window->menuBar();
  int index = 0;
  for (QAction* top : bar->actions()) {
    QMenu* menu = top->menu();
    ++index;
    if (!menu)
      continue;
    const QRect at = bar->actionGeometry(top);
    menu->popup(bar->mapToGlobal(at.bottomLeft()));
    Settle();
    Save(WithMenus(window, {menu}), QStringLiteral("menu-%1").arg(index));
    int sub = 0;
    for (QAction* item : menu->actions()) {
      if (!item->menu())
        continue;
      ++sub;
      const QRect itemAt = menu->actionGeometry(item);
      item->menu()->popup(menu->mapToGlobal(itemAt.topRight()));
      Settle();
      Save(WithMenus(window, {menu, item->menu()}),
           QStringLiteral("menu-%1-%2").arg(index).arg(sub));
      item->menu()->hide();
    }
    menu->hide();
    Settle();
  }
}

// Runs `command`; its first modal window is photographed and then closed.
void ShootModal(CFrameWnd& frame, UINT command, const QString& name) {
  WhenModalShows([name](QWidget* modal) {
    Settle();
    Save(Framed(modal, modal->grab()), name);
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      QAbstractButton* cancel = box->button(QMessageBox::Cancel);
      (cancel ? cancel : box->button(QMessageBox::Ok))->click();
    } else {
      modal->close();
    }
  });
  frame.RunCommand(command);
  Settle();
}

}  // namespace

int main(int argc, char** argv) {
  SetResources(&SystemResources());
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUTDIR PICTURE.bmp\n", argv[0]);
    return 2;
  }
  std::string why;
  if (!StartQApplication(&why)) {
    std::fprintf(stderr, "%s\n", why.c_str());
    return 1;
  }
  g_outDir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(g_outDir);
  Session session({argv[2]});
  if (!session.Started())
    return 1;
  auto* window = static_cast<QtMainWindow*>(session.MainWindow());
  window->resize(720, 520);
  Settle();

  Save(Framed(window, window->grab()), QStringLiteral("main-x1"));
  session.Frame().RunCommand(ID_SCALE_4);
  Settle();
  Save(Framed(window, window->grab()), QStringLiteral("main-x4"));
  session.Frame().RunCommand(ID_SCALE_FIT);
  Settle();
  Save(Framed(window, window->grab()), QStringLiteral("main-fit"));
  session.Frame().RunCommand(ID_SCALE_1);
  ShootMenus(window);

  ShootModal(session.Frame(), ID_BINARIZE, QStringLiteral("dialog-threshold"));
  ShootModal(session.Frame(), ID_SAVE_VECTORSCRIPT, QStringLiteral("dialog-vectorscript"));
  ShootModal(session.Frame(), ID_APP_ABOUT, QStringLiteral("dialog-about"));
  // A long command's progress, shown at once here, then stopped.
  session.Platform().SetProgressDelay(std::chrono::milliseconds(0));
  QTimer::singleShot(0, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      Save(Framed(modal, modal->grab()), QStringLiteral("dialog-progress"));
      modal->close();
    }
  });
  session.Frame().RunCommand(ID_ERROR_DIFFUSION);
  session.Platform().SetProgressDelay(std::chrono::milliseconds(500));
  // The vectorizer's dialog after プレビュー, and the window behind it.
  WhenModalShows([window](QWidget* modal) {
    qobject_cast<QAbstractButton*>(DialogControl(modal, IDC_PREVIEW))->click();
    Settle();
    Save(Framed(modal, modal->grab()), QStringLiteral("dialog-vectorize"));
    Save(Framed(window, window->grab()), QStringLiteral("main-vectorize-preview"));
    modal->close();
  });
  session.Frame().RunCommand(ID_VECTORIZE);
  Settle();
  session.Doc().SetModifiedFlag(true);
  ShootModal(session.Frame(), ID_FILE_NEW, QStringLiteral("save-prompt"));
  WhenModalShows([](QWidget* modal) {
    modal->resize(900, 700);
    Settle();
    QThread::msleep(200);
    Settle();
    Save(Framed(modal, modal->grab()), QStringLiteral("print-preview"));
    modal->close();
  });
  session.Frame().RunCommand(ID_FILE_PRINT_PREVIEW);
  session.Doc().SetModifiedFlag(false);
  return 0;
}
