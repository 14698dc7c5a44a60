#include "tests/gui/GuiSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "platform/qt/QtTemplateDialog.h"
#include "shell/qt/QtMainWindow.h"

namespace qov::test {
bool StartQApplication(std::string* why) {
  if (qApp)
    return true;
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (!platform && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    *why = "no display and QT_QPA_PLATFORM is not set";
    return false;
  }
  if (platform && std::string(platform) == "offscreen") {
    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                           QStringLiteral("/platforms/libqoffscreen.so");
    if (!QFileInfo::exists(plugin)) {
      *why = "the offscreen platform plugin is not installed";
      return false;
    }
  }
  // Settings and the recent-file list go to a folder of the test's own.
  static const TempDir config;
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  static int argc = 1;
  static char arg0[] = "qov-gui-test";
  static char* argv[] = {arg0, nullptr};
  new QApplication(argc, argv);
  QtAppBackend::PrepareApplication();
  return true;
}

Session::Session(std::vector<std::string> args)
    : m_previousPlatform(SetPlatformBackend(&m_platform)),
      m_previousWindows(SetAppBackend(&m_windows)) {
  args.insert(args.begin(), "qov");
  m_app.SetCommandLine(std::move(args));
  m_bStarted = m_app.InitInstance();
  if (QWidget* window = MainWindow(); window && m_bStarted) {
    window->activateWindow();
    QApplication::processEvents();
  }
}

Session::~Session() {
  m_app.ExitInstance();
  SetAppBackend(m_previousWindows);
  SetPlatformBackend(m_previousPlatform);
}

QWidget* Session::MainWindow() {
  return m_windows.MainWindow();
}

void WhenModalShows(std::function<void(QWidget*)> answer, int timeoutMs) {
  QPointer<QWidget> before = QApplication::activeModalWidget();
  auto* timer = new QTimer(qApp);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [=] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != before && modal->isVisible()) {
      timer->stop();
      timer->deleteLater();
      answer(modal);
    } else if (clock->elapsed() > timeoutMs) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal window opened";
    }
  });
  timer->start(10);
}

void AnswerMessageBox(int standardButton, QString* text) {
  WhenModalShows([=](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr) << "expected a message box, got " << w->metaObject()->className();
    if (text)
      *text = box->text();
    box->button(static_cast<QMessageBox::StandardButton>(standardButton))->click();
  });
}

void AnswerFileDialog(const QString& path) {
  WhenModalShows([=](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr) << "expected a file dialog, got " << w->metaObject()->className();
    if (path.isEmpty()) {
      dialog->reject();
      return;
    }
    // Typed into the focused name box, as a person would: that drops the
    // name the dialog proposed and selected once its folder had loaded.
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setFocus();
    const bool selected = QTest::qWaitFor(
        [&] {
          if (name->text() != path)
            name->setText(path);
          const QStringList files = dialog->selectedFiles();
          return files.size() == 1 && files.front().startsWith(path);
        },
        5000);
    EXPECT_TRUE(selected) << dialog->selectedFiles().join(QLatin1Char(' ')).toStdString();
    static_cast<QDialog*>(dialog)->accept();
    if (dialog->isVisible()) {
      ADD_FAILURE() << "the file dialog refused " << path.toStdString();
      dialog->reject();
    }
  });
}

QWidget* DialogControl(QWidget* dialog, int id) {
  auto* templ = qobject_cast<QtTemplateDialog*>(dialog);
  return templ ? templ->Control(id) : nullptr;
}

}  // namespace qov::test
