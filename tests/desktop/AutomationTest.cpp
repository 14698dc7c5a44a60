// Automation clients on a private session bus: the bus starts `qov
// /Automation` from the service file a normal start wrote; a client creates
// the document object, sees its interfaces and releases it, and the program
// ends; a client that leaves lets go of its objects; without a bus the
// automation switches fail with a message.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QFile>
#include <QFileInfo>

#include "platform/OleLock.h"
#include "res/AutomationIds.h"
#include "shell/qt/QtAutomationServer.h"
#include "tests/desktop/DesktopSupport.h"
#include "tests/gui/GuiSupport.h"

namespace qov::test {
namespace {

const QString kFactoryPath = QStringLiteral("/ClassFactory");
const QString kFactoryInterface = QStringLiteral("qov.IClassFactory");
const QString kUnknownInterface = QStringLiteral("qov.IUnknown");

QString Text(const GUID& guid) {
  return QString::fromStdString(StringFromGUID(guid));
}

QDBusMessage CreateInstanceCall(const QString& service, const GUID& iid) {
  QDBusMessage call = QDBusMessage::createMethodCall(service, kFactoryPath, kFactoryInterface,
                                                     QStringLiteral("CreateInstance"));
  call << Text(iid);
  return call;
}

QDBusMessage ReleaseCall(const QString& service, const QString& path) {
  return QDBusMessage::createMethodCall(service, path, kUnknownInterface,
                                        QStringLiteral("Release"));
}

// A session bus of the test's own, started by dbus-run-session with the
// test's data folder, so that it reads the service files qov writes there.
class PrivateBus {
 public:
  explicit PrivateBus(const std::string& home) : m_env(HomeEnvironment(home)) {
    m_process.setProcessEnvironment(m_env);
    m_process.start(QStringLiteral("dbus-run-session"),
                    {QStringLiteral("--"), QStringLiteral("sh"), QStringLiteral("-c"),
                     QStringLiteral("echo \"$DBUS_SESSION_BUS_ADDRESS\"; exec cat")});
    if (!m_process.waitForStarted(5000)) {
      m_why = "dbus-run-session is not installed";
      return;
    }
    if (!m_process.waitForReadyRead(10000)) {
      m_why = "dbus-run-session could not start a bus";
      return;
    }
    m_address = QString::fromUtf8(m_process.readLine().trimmed());
    m_env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    m_why = Connection().isConnected() ? "" : "cannot connect to the private bus";
  }
  ~PrivateBus() {
    QDBusConnection::disconnectFromBus(kConnection);
    QDBusConnection::disconnectFromBus(kOtherConnection);
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(10000))
      m_process.kill();
  }

  const std::string& WhyNot() const { return m_why; }
  QString Address() const { return m_address; }
  QProcessEnvironment Environment() const { return m_env; }
  QDBusConnection Connection() const {
    return QDBusConnection::connectToBus(m_address, kConnection);
  }
  // A second client, which may leave the bus on its own.
  QDBusConnection OtherConnection() const {
    return QDBusConnection::connectToBus(m_address, kOtherConnection);
  }
  void DisconnectOther() const { QDBusConnection::disconnectFromBus(kOtherConnection); }

  bool HasOwner(const QString& name) const {
    return Connection().interface()->isServiceRegistered(name).value();
  }

 private:
  static inline const QString kConnection = QStringLiteral("qov-test-client");
  static inline const QString kOtherConnection = QStringLiteral("qov-test-other-client");
  QProcess m_process;
  QProcessEnvironment m_env;
  QString m_address;
  std::string m_why = "not started";
};

class AutomationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QOV_REQUIRE_QT();
    bus = std::make_unique<PrivateBus>(home);
    if (!bus->WhyNot().empty())
      GTEST_SKIP() << bus->WhyNot();
    name = QtAutomationServer::ServiceName(CLSID_QOV_V2Document);
  }

  // `qov ARGS...` on the private bus.
  void Start(QProcess& qov, const QStringList& args) {
    qov.setProcessEnvironment(bus->Environment());
    qov.start(QovProgram(), args);
    ASSERT_TRUE(qov.waitForStarted());
  }

  TempDir homeDir;
  std::string home = homeDir.path().string();
  std::unique_ptr<PrivateBus> bus;
  QString name;
};

TEST_F(AutomationTest, BusStartsTheProgramRegisteredByANormalStartAndItEndsOnRelease) {
  {
    QProcess normal;
    Start(normal, {});
    const QString serviceFile = QString::fromStdString(home) +
                                QStringLiteral("/data/dbus-1/services/") + name +
                                QStringLiteral(".service");
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(serviceFile); }));
    normal.kill();
    normal.waitForFinished();
    QFile file(serviceFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("\nName=") + name + QLatin1Char('\n')))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=") +
                              QFileInfo(QovProgram()).canonicalFilePath() +
                              QStringLiteral(" /Automation\n")))
        << text.toStdString();
  }
  QDBusConnection client = bus->Connection();
  client.call(QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ReloadConfig")));
  ASSERT_FALSE(bus->HasOwner(name));

  const QDBusMessage created =
      client.call(CreateInstanceCall(name, IID_IQOV_V2), QDBus::Block, 20000);
  ASSERT_EQ(created.type(), QDBusMessage::ReplyMessage) << created.errorMessage().toStdString();
  const QString server = created.service();
  const QString path = created.arguments().value(0).value<QDBusObjectPath>().path();
  EXPECT_TRUE(path.startsWith(QStringLiteral("/Object/"))) << path.toStdString();
  EXPECT_FALSE(bus->HasOwner(name)) << "a single-use factory gives its name up";
  EXPECT_TRUE(bus->HasOwner(server));

  const QDBusMessage introspection = client.call(QDBusMessage::createMethodCall(
      server, path, QStringLiteral("org.freedesktop.DBus.Introspectable"),
      QStringLiteral("Introspect")));
  const QString xml = introspection.arguments().value(0).toString();
  EXPECT_TRUE(xml.contains(QStringLiteral("<interface name=\"") +
                           QtAutomationServer::DispatchInterfaceName(IID_IQOV_V2) +
                           QStringLiteral("\"/>")))
      << "the dispatch interface, with no members: " << xml.toStdString();
  EXPECT_TRUE(xml.contains(QStringLiteral("<method name=\"Release\"/>"))) << xml.toStdString();

  const QDBusMessage released = client.call(ReleaseCall(server, path));
  EXPECT_EQ(released.type(), QDBusMessage::ReplyMessage) << released.errorMessage().toStdString();
  EXPECT_TRUE(WaitFor([&] { return !bus->HasOwner(server); })) << "the program did not end";
}

TEST_F(AutomationTest, AutomationSwitchesServeWithoutAWindowUntilTheLastRelease) {
  for (const char* flag : {"/Automation", "-Embedding"}) {
    QProcess qov;
    Start(qov, {QString::fromLatin1(flag)});
    ASSERT_TRUE(WaitFor([&] { return bus->HasOwner(name); })) << flag;
    QDBusConnection client = bus->Connection();

    // A request that makes no object ends a program started for it.
    QDBusMessage malformed = CreateInstanceCall(name, IID_IDispatch);
    malformed.setArguments({QStringLiteral("{not an interface}")});
    const std::pair<QDBusMessage, QString> kRefused[] = {
        {CreateInstanceCall(name, CLSID_QOV_V2Document), QStringLiteral("qov.Error.NoInterface")},
        {malformed, QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs")}};
    for (const auto& [call, errorName] : kRefused) {
      EXPECT_EQ(client.call(call).errorName(), errorName);
      EXPECT_TRUE(WaitForEnd(qov))
          << "a program started for a refused request stays: " << errorName.toStdString();
      Start(qov, {QString::fromLatin1(flag)});
      ASSERT_TRUE(WaitFor([&] { return bus->HasOwner(name); })) << flag;
    }
    const QDBusMessage created = client.call(CreateInstanceCall(name, IID_IDispatch));
    ASSERT_EQ(created.type(), QDBusMessage::ReplyMessage) << created.errorMessage().toStdString();
    const QString server = created.service();
    const QString path = created.arguments().value(0).value<QDBusObjectPath>().path();
    EXPECT_EQ(client.call(CreateInstanceCall(server, IID_IDispatch)).errorName(),
              QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"))
        << "the factory serves one object only";

    EXPECT_EQ(bus->OtherConnection().call(ReleaseCall(server, path)).errorName(),
              QStringLiteral("qov.Error.NotHeld"));
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(qov.state(), QProcess::Running) << "ended while the object was held";
    EXPECT_EQ(client.call(ReleaseCall(server, path)).type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(WaitForEnd(qov)) << flag;
    EXPECT_EQ(qov.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(qov.exitCode(), 0);
  }
}

TEST_F(AutomationTest, ClientThatLeavesTheBusLetsGoOfItsObjects) {
  QProcess qov;
  Start(qov, {QStringLiteral("/Automation")});
  ASSERT_TRUE(WaitFor([&] { return bus->HasOwner(name); }));
  const QDBusMessage created = bus->OtherConnection().call(CreateInstanceCall(name, IID_IQOV_V2));
  ASSERT_EQ(created.type(), QDBusMessage::ReplyMessage) << created.errorMessage().toStdString();
  WaitFor([] { return false; }, 200);
  EXPECT_EQ(qov.state(), QProcess::Running);
  bus->DisconnectOther();
  EXPECT_TRUE(WaitForEnd(qov));
  EXPECT_EQ(qov.exitCode(), 0);
}

TEST_F(AutomationTest, SecondServerForTheSameClassFailsWithAMessage) {
  QProcess first;
  Start(first, {QStringLiteral("/Automation")});
  ASSERT_TRUE(WaitFor([&] { return bus->HasOwner(name); }));
  QProcess second;
  Start(second, {QStringLiteral("/Automation")});
  ASSERT_TRUE(WaitForEnd(second));
  EXPECT_EQ(second.exitCode(), 2);
  EXPECT_TRUE(
      QString::fromUtf8(second.readAllStandardError())
          .contains(QStringLiteral("オートメーション サーバーとして登録できませんでした。")));
  first.kill();
  first.waitForFinished();
}

// In this process, to see its windows: a client's document gets none, and
// the program's message loop ends with the last release.
TEST_F(AutomationTest, ServerShowsNoWindowAndEndsItsLoopAtTheLastRelease) {
  QtAutomationServer automation(bus->Connection());
  IAutomationBackend* previous = SetAutomationBackend(&automation);
  {
    Session s({"/Automation"});
    ASSERT_TRUE(s.Started());
    EXPECT_EQ(s.App().m_pMainWnd, nullptr);
    EXPECT_EQ(s.MainWindow(), nullptr);

    // The server answers in this thread: the client must not block it.
    QDBusConnection client = bus->OtherConnection();
    QDBusPendingCall created = client.asyncCall(CreateInstanceCall(name, IID_IQOV_V2));
    ASSERT_TRUE(WaitFor([&] { return created.isFinished(); }));
    ASSERT_FALSE(created.isError()) << created.error().message().toStdString();
    const QString path = created.reply().arguments().value(0).value<QDBusObjectPath>().path();
    EXPECT_EQ(s.MainWindow(), nullptr);
    for (QWidget* widget : QApplication::topLevelWidgets())
      EXPECT_FALSE(widget->isVisible()) << widget->metaObject()->className();
    EXPECT_FALSE(s.Windows().QuitRequested());

    QDBusPendingCall released = client.asyncCall(ReleaseCall(created.reply().service(), path));
    ASSERT_TRUE(WaitFor([&] { return released.isFinished(); }));
    EXPECT_FALSE(released.isError()) << released.error().message().toStdString();
    EXPECT_TRUE(s.Windows().QuitRequested());
  }
  SetAutomationBackend(previous);
  AfxOleSetUserCtrl(true);
}

// No bus to register on: the program cannot be reached and says so.
TEST(AutomationWithoutBus, AutomationSwitchesEndWithStatusTwoAndAMessage) {
  QOV_REQUIRE_QT();
  const TempDir home;
  QProcessEnvironment env = HomeEnvironment(home.path().string());
  env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
             QStringLiteral("unix:path=/nonexistent/qov-test-bus"));
  for (const char* flag : {"/Automation", "-Embedding"}) {
    QProcess qov;
    qov.setProcessEnvironment(env);
    qov.start(QovProgram(), {QString::fromLatin1(flag)});
    ASSERT_TRUE(WaitForEnd(qov)) << flag;
    EXPECT_EQ(qov.exitCode(), 2) << flag;
    EXPECT_TRUE(
        QString::fromUtf8(qov.readAllStandardError())
            .contains(QStringLiteral("オートメーション サーバーとして登録できませんでした。")))
        << flag;
  }
}

}  // namespace
}  // namespace qov::test
