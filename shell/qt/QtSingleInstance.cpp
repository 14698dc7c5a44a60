#include "shell/qt/QtSingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <system_error>

#include "shell/CommandLineInfo.h"
#include "shell/FrameWnd.h"

namespace qov {
namespace {

constexpr int kConnectTimeoutMs = 1000;
// A running program answers at once, unless a long command keeps it from
// reading; past this the asker opens the file in a window of its own.
constexpr int kAnswerTimeoutMs = 20000;
constexpr int kLockTimeoutMs = 5000;
// Far beyond any path; a longer request is not one.
constexpr qint64 kMaxRequestBytes = 64 * 1024;

bool SomeoneListens(const QString& socketPath) {
  QLocalSocket probe;
  probe.connectToServer(socketPath);
  return probe.waitForConnected(kConnectTimeoutMs);
}

void BringToFront(QWidget& window) {
  window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
  window.show();
  window.raise();
  window.activateWindow();
}

}  // namespace

QtSingleInstance::QtSingleInstance() = default;

QtSingleInstance::~QtSingleInstance() = default;

QString QtSingleInstance::DefaultSocketPath() {
  return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
         QStringLiteral("/qov-open");
}

bool QtSingleInstance::HandOver(const std::vector<std::string>& args, QString socketPath) {
  CCommandLineInfo info;
  ParseCommandLineArgs(args, info);
  if (info.m_nShellCommand != CCommandLineInfo::FileOpen || info.m_bRunEmbedded ||
      info.m_bRunAutomated) {
    return false;
  }
  // The running program has a working folder of its own.
  std::error_code error;
  const std::string path = std::filesystem::absolute(info.m_strFileName, error).string();
  if (error)
    return false;
  if (socketPath.isEmpty())
    socketPath = DefaultSocketPath();

  QLocalSocket socket;
  socket.connectToServer(socketPath);
  if (!socket.waitForConnected(kConnectTimeoutMs))
    return false;
  QByteArray request(path.data(), static_cast<qsizetype>(path.size()));
  request.append('\0');
  socket.write(request);
  if (!socket.waitForBytesWritten(kConnectTimeoutMs) || !socket.waitForReadyRead(kAnswerTimeoutMs))
    return false;
  char answer = 0;
  return socket.getChar(&answer) && answer == kAccepted;
}

bool QtSingleInstance::Listen(CFrameWnd& frame, QWidget& window, QString socketPath) {
  if (socketPath.isEmpty())
    socketPath = DefaultSocketPath();
  // Two programs starting together must not both find the socket stale and
  // each remove the other's.
  QLockFile lock(socketPath + QStringLiteral(".lock"));
  if (!lock.tryLock(kLockTimeoutMs) || SomeoneListens(socketPath))
    return false;
  QLocalServer::removeServer(socketPath);
  auto* server = new QLocalServer(this);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(socketPath)) {
    delete server;
    return false;
  }
  connect(server, &QLocalServer::newConnection, this, &QtSingleInstance::OnNewConnection);
  m_pServer = server;
  m_pFrame = &frame;
  m_pWindow = &window;
  return true;
}

void QtSingleInstance::OnNewConnection() {
  while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  }
}

void QtSingleInstance::OnReadyRead(QLocalSocket* socket) {
  const QByteArray received = socket->peek(socket->bytesAvailable());
  const qsizetype end = received.indexOf('\0');
  if (end < 0) {
    if (received.size() > kMaxRequestBytes)
      socket->abort();
    return;
  }
  const std::string path(received.constData(), static_cast<std::size_t>(end));
  socket->read(end + 1);
  if (!std::filesystem::path(path).is_absolute()) {
    socket->abort();
    return;
  }
  socket->putChar(kAccepted);
  socket->flush();
  // An asker that gave up waiting opens the file itself.
  if (socket->state() != QLocalSocket::ConnectedState)
    return;
  socket->disconnectFromServer();
  Open(path);
}

void QtSingleInstance::Open(const std::string& path) {
  if (m_pWindow)
    BringToFront(*m_pWindow);
  // Opened as a dropped file is: after the command or modal dialog under
  // way, and never inside this socket's own signal.
  QTimer::singleShot(0, this, [this, path] {
    if (m_pWindow)
      m_pFrame->OnDropFiles({path});
  });
}

}  // namespace qov
