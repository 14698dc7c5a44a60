#pragma once
// Opening a file in the program the user already has open. A program whose
// main window is shown listens on a local socket of the user's own; a later
// `qov FILE` first offers FILE there and ends once the running program has
// taken it. The running program opens it as it opens a dropped file (after
// the command or modal dialog in progress, with the save prompt) and comes
// to the front.
//
// A request is the file's absolute path followed by a zero byte; the answer
// is one byte, kAccepted. A connection that sends no request within a few
// seconds is dropped, and only a few are kept at a time: idle connections
// cannot jam the hand-over.

#include <QObject>
#include <QPointer>
#include <QString>
#include <string>
#include <vector>

class QThread;
class QWidget;

namespace qov {

class CFrameWnd;

class QtHandOverListener;

class QtSingleInstance : public QObject {
  Q_OBJECT

 public:
  static constexpr char kAccepted = '1';

  QtSingleInstance();
  ~QtSingleInstance() override;

  // The socket, in the user's runtime folder. An empty socket path below
  // stands for this one.
  static QString DefaultSocketPath();

  // When `args` (the program's name first) ask to open one file, offers it
  // to the program listening on `socketPath`: true when that took it.
  static bool HandOver(const std::vector<std::string>& args, QString socketPath = {});

  // Takes requests for `frame`, whose window is `window`. A socket left by
  // a program that ended without removing it is replaced; false when
  // another program listens there (it keeps the requests) or the socket
  // cannot be made. The requests are answered on a thread of their own, at
  // once even while a long command runs; the file is opened when the window
  // is free again.
  bool Listen(CFrameWnd& frame, QWidget& window, QString socketPath = {});

 private:
  void Open(const std::string& path);

  QThread* m_pThread = nullptr;
  QtHandOverListener* m_pListener = nullptr;
  CFrameWnd* m_pFrame = nullptr;
  QPointer<QWidget> m_pWindow;
};

}  // namespace qov
