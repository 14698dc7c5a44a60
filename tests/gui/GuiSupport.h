#pragma once
// What the desktop tests share: one QApplication for the process (offscreen,
// Japanese, settings under a temporary folder), a running application on the
// Qt backend, and answers for the modal windows that commands open.

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/QOV_V2App.h"
#include "image/QOV_V2Doc.h"
#include "platform/qt/QtBackend.h"
#include "shell/FrameWnd.h"
#include "shell/qt/QtAppBackend.h"
#include "tests/support/Bitmap.h"
#include "tests/support/TempDir.h"
#include "view/QOV_V2View.h"

namespace qov::test {

// False (and why) when no QApplication can start here.
bool StartQApplication(std::string* why);

// Skips the test when Qt cannot start.
#define QOV_REQUIRE_QT()                       \
  do {                                         \
    std::string why;                           \
    if (!::qov::test::StartQApplication(&why)) \
      GTEST_SKIP() << why;                     \
  } while (0)

// The program as `qov ARGS...` starts it, on the Qt backend, in-process.
class Session {
 public:
  explicit Session(std::vector<std::string> args = {});
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  bool Started() const { return m_bStarted; }
  CQOV_V2App& App() { return m_app; }
  CFrameWnd& Frame() { return *m_app.m_pMainWnd; }
  CQOV_V2Doc& Doc() { return *static_cast<CQOV_V2Doc*>(Frame().GetActiveDocument()); }
  CQOV_V2View& View() { return *static_cast<CQOV_V2View*>(Frame().GetActiveView()); }
  QtAppBackend& Windows() { return m_windows; }
  QtBackend& Platform() { return m_platform; }
  QWidget* MainWindow();

 private:
  QtBackend m_platform;
  QtAppBackend m_windows;
  IPlatformBackend* m_previousPlatform;
  IAppBackend* m_previousWindows;
  CQOV_V2App m_app;
  bool m_bStarted = false;
};

// Calls `answer` with the next modal window that opens (one that was not
// the top modal window when this was called); it must close that window.
// Fails the test when none opens within `timeoutMs`.
void WhenModalShows(std::function<void(QWidget*)> answer, int timeoutMs = 10000);
// Answers the next message box with the button of `role`, keeping its text.
void AnswerMessageBox(int standardButton, QString* text = nullptr);
// Answers the next file dialog with `path` (empty: cancels it).
void AnswerFileDialog(const QString& path);
// The widget of dialog control `id` in `dialog`.
QWidget* DialogControl(QWidget* dialog, int id);

}  // namespace qov::test
