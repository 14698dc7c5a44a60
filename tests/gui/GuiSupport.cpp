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
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "image/DibBlock.h"
#include "platform/qt/QtTemplateDialog.h"
#include "shell/qt/QtMainWindow.h"

namespace qov::test {
namespace {

void PutU32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    s[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
}

}  // namespace

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
  static const std::string config = TempDir("config");
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  static int argc = 1;
  static char arg0[] = "qov-gui-test";
  static char* argv[] = {arg0, nullptr};
  new QApplication(argc, argv);
  QtAppBackend::PrepareApplication();
  return true;
}

std::string TempDir(const std::string& name) {
  static const std::filesystem::path root = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "qov-gui-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    return std::filesystem::path(made ? made : pattern);
  }();
  const std::filesystem::path dir = root / name;
  std::filesystem::create_directories(dir);
  return dir.string();
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

void WriteTestBitmap(const std::string& path, int width, int height,
                     const std::function<std::array<std::uint8_t, 3>(int, int)>& pixel) {
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  std::string file(54 + stride * static_cast<std::size_t>(height), '\0');
  file[0] = 'B';
  file[1] = 'M';
  PutU32(file, 2, static_cast<std::uint32_t>(file.size()));
  PutU32(file, 10, 54);
  PutU32(file, 14, 40);
  PutU32(file, 18, static_cast<std::uint32_t>(width));
  PutU32(file, 22, static_cast<std::uint32_t>(height));
  file[26] = 1;
  file[28] = 24;
  for (int y = 0; y < height; ++y) {
    const std::size_t row = 54 + stride * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const auto bgr = pixel(x, y);
      for (std::size_t c = 0; c < 3; ++c)
        file[row + 3 * static_cast<std::size_t>(x) + c] = static_cast<char>(bgr[c]);
    }
  }
  std::ofstream(path, std::ios::binary)
      .write(file.data(), static_cast<std::streamsize>(file.size()));
}

std::array<std::uint8_t, 3> DocPixel(const CQOV_V2Doc& doc, int x, int y) {
  CGlobalLock lock(doc.m_hDib);
  const auto* p = lock.get();
  const auto w = static_cast<std::size_t>(DibWidth(p));
  const auto h = static_cast<std::size_t>(DibHeight(p));
  const std::size_t stride = (w * 3 + 3) & ~std::size_t{3};
  const auto* px = FindDibBits(p) + stride * (h - 1 - static_cast<std::size_t>(y)) +
                   3 * static_cast<std::size_t>(x);
  return {static_cast<std::uint8_t>(px[0]), static_cast<std::uint8_t>(px[1]),
          static_cast<std::uint8_t>(px[2])};
}

}  // namespace qov::test
