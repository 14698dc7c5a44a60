#include "shell/qt/QtSingleInstance.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <system_error>

#include "shell/CommandLineInfo.h"
#include "shell/FrameWnd.h"

namespace qov {
namespace {

constexpr int kConnectTimeoutMs = 1000;
// A running program answers at once, from the listener's thread; past this
// the asker takes it for gone and opens the file in a window of its own.
constexpr int kAnswerTimeoutMs = 20000;
// An asker sends its request as soon as it is connected.
constexpr int kIdleTimeoutMs = 3000;
// Askers come one at a time; many connections at once are not askers.
constexpr std::size_t kMaxConnections = 16;
// How often the listener checks that it still listens (accepting fails for
// good when the program runs out of descriptors, say).
constexpr int kWatchIntervalMs = 1000;
constexpr int kLockTimeoutMs = 5000;
// Far beyond any path; a longer request is not one.
constexpr qint64 kMaxRequestBytes = 64 * 1024;

bool SomeoneListens(const QString& socketPath) {
  QLocalSocket probe;
  probe.connectToServer(socketPath);
  return probe.waitForConnected(kConnectTimeoutMs);
}

// Makes the socket at `socketPath` through `listen` unless another program
// listens there. Two programs starting together must not both find the
// socket stale and each remove the other's.
bool ClaimSocket(const QString& socketPath, const std::function<bool()>& listen) {
  QLockFile lock(socketPath + QStringLiteral(".lock"));
  if (!lock.tryLock(kLockTimeoutMs) || SomeoneListens(socketPath))
    return false;
  QLocalServer::removeServer(socketPath);
  return listen();
}

// A modal dialog or message that the window shows comes above it: the
// request waits for it to close, and the user must see what it waits for.
void BringToFront(QWidget& window) {
  window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
  window.show();
  window.raise();
  window.activateWindow();
  if (QWidget* modal = QApplication::activeModalWidget()) {
    modal->raise();
    modal->activateWindow();
  }
}

}  // namespace

// Lives on a thread of its own, so that a long command in the window does not
// keep askers waiting.
class QtHandOverListener : public QObject {
 public:
  using Deliver = std::function<void(std::string)>;

  QtHandOverListener(QString socketPath, Deliver deliver)
      : m_socketPath(std::move(socketPath)), m_deliver(std::move(deliver)) {}

  // On the listener's thread: false when the socket cannot be made.
  bool Start() {
    if (!CreateServer())
      return false;
    m_pWatch = new QTimer(this);
    connect(m_pWatch, &QTimer::timeout, this, [this] { KeepListening(); });
    m_pWatch->start(kWatchIntervalMs);
    return true;
  }

  // On the listener's thread, before it ends.
  void Stop() {
    delete std::exchange(m_pWatch, nullptr);
    for (const QPointer<QLocalSocket>& socket : m_connections)
      delete socket.data();
    m_connections.clear();
    delete std::exchange(m_pServer, nullptr);
  }

 private:
  bool CreateServer() {
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_socketPath)) {
      delete server;
      return false;
    }
    connect(server, &QLocalServer::newConnection, this, [this] { OnNewConnection(); });
    m_pServer = server;
    return true;
  }

  // A listener that stopped accepting is made again, unless another program
  // has taken the socket meanwhile.
  void KeepListening() {
    if (m_pServer && m_pServer->isListening())
      return;
    delete std::exchange(m_pServer, nullptr);
    if (!ClaimSocket(m_socketPath, [this] { return CreateServer(); }))
      m_pWatch->stop();
  }

  static void Drop(QLocalSocket* socket) {
    socket->abort();
    socket->deleteLater();
  }

  void OnNewConnection() {
    while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
      std::erase_if(m_connections, [](const QPointer<QLocalSocket>& s) { return s.isNull(); });
      if (m_connections.size() >= kMaxConnections) {
        Drop(m_connections.front());
        m_connections.pop_front();
      }
      m_connections.emplace_back(socket);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      QTimer::singleShot(kIdleTimeoutMs, socket, [socket] { Drop(socket); });
    }
  }

  void OnReadyRead(QLocalSocket* socket) {
    const QByteArray received = socket->peek(socket->bytesAvailable());
    const qsizetype end = received.indexOf('\0');
    if (end < 0) {
      if (received.size() > kMaxRequestBytes)
        Drop(socket);
      return;
    }
    const std::string path(received.constData(), static_cast<std::size_t>(end));
    socket->read(end + 1);
    if (!std::filesystem::path(path).is_absolute()) {
      Drop(socket);
      return;
    }
    socket->putChar(QtSingleInstance::kAccepted);
    socket->flush();
    // An asker that gave up waiting opens the file itself.
    if (socket->state() != QLocalSocket::ConnectedState)
      return;
    socket->disconnectFromServer();
    m_deliver(path);
  }

  QString m_socketPath;
  Deliver m_deliver;
  QLocalServer* m_pServer = nullptr;
  QTimer* m_pWatch = nullptr;
  std::deque<QPointer<QLocalSocket>> m_connections;
};

QtSingleInstance::QtSingleInstance() = default;

QtSingleInstance::~QtSingleInstance() {
  if (!m_pThread)
    return;
  QMetaObject::invokeMethod(
      m_pListener, [listener = m_pListener] { listener->Stop(); }, Qt::BlockingQueuedConnection);
  m_pThread->quit();
  m_pThread->wait();
  delete m_pListener;
}

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
  if (m_pThread)
    return false;
  if (socketPath.isEmpty())
    socketPath = DefaultSocketPath();
  // Opened on this thread, the window's.
  auto deliver = [this](std::string path) {
    QMetaObject::invokeMethod(
        this, [this, path] { Open(path); }, Qt::QueuedConnection);
  };
  auto listener = std::make_unique<QtHandOverListener>(socketPath, deliver);
  auto thread = std::make_unique<QThread>();
  listener->moveToThread(thread.get());
  thread->start();
  const bool listening = ClaimSocket(socketPath, [&] {
    bool started = false;
    QMetaObject::invokeMethod(
        listener.get(), [&] { started = listener->Start(); }, Qt::BlockingQueuedConnection);
    return started;
  });
  if (!listening) {
    thread->quit();
    thread->wait();
    return false;
  }
  m_pThread = thread.release();
  m_pThread->setParent(this);
  m_pListener = listener.release();
  m_pFrame = &frame;
  m_pWindow = &window;
  return true;
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
