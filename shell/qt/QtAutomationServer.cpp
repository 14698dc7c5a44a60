#include "shell/qt/QtAutomationServer.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <functional>
#include <vector>

#include "platform/CmdTarget.h"
#include "platform/OleLock.h"
#include "shell/OleObjectFactory.h"

namespace qov {
namespace {

const QString kFactoryPath = QStringLiteral("/ClassFactory");
const QString kObjectPathPrefix = QStringLiteral("/Object/");
const QString kFactoryInterface = QStringLiteral("qov.IClassFactory");
const QString kUnknownInterface = QStringLiteral("qov.IUnknown");
const QString kStandardInterfaces = QStringLiteral("org.freedesktop.DBus.");

const QString kErrorNoInterface = QStringLiteral("qov.Error.NoInterface");
const QString kErrorFailed = QStringLiteral("qov.Error.Failed");
const QString kErrorNotHeld = QStringLiteral("qov.Error.NotHeld");

const QString kFactoryIntrospection = QStringLiteral(
    "  <interface name=\"qov.IClassFactory\">\n"
    "    <method name=\"CreateInstance\">\n"
    "      <arg name=\"iid\" type=\"s\" direction=\"in\"/>\n"
    "      <arg name=\"object\" type=\"o\" direction=\"out\"/>\n"
    "    </method>\n"
    "  </interface>\n");

QString ObjectIntrospection(const CCmdTarget& target) {
  QString xml = QStringLiteral(
      "  <interface name=\"qov.IUnknown\">\n"
      "    <method name=\"Release\"/>\n"
      "  </interface>\n");
  // The dispatch interface has no properties and no methods of its own.
  if (const IID* dispatch = target.GetDispatchIID()) {
    xml += QStringLiteral("  <interface name=\"%1\"/>\n")
               .arg(QtAutomationServer::DispatchInterfaceName(*dispatch));
  }
  return xml;
}

// The service file's Exec line is split like a shell's command line: a path
// with anything but plain characters goes in single quotes.
QString QuoteForExec(const QString& program) {
  static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9/._+-]+$"));
  if (plain.match(program).hasMatch())
    return program;
  QString quoted = program;
  quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
  return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// The program that the service file `text` starts, its quoting undone;
// empty when it names none.
QString ProgramOfServiceFile(const QByteArray& text) {
  static const QRegularExpression exec(QStringLiteral("^Exec=(?:'((?:[^']|'\\\\'')*)'|(\\S+)) "),
                                       QRegularExpression::MultilineOption);
  const QRegularExpressionMatch match = exec.match(QString::fromUtf8(text));
  if (!match.hasMatch())
    return {};
  if (match.capturedLength(2) > 0)
    return match.captured(2);
  return match.captured(1).replace(QStringLiteral("'\\''"), QStringLiteral("'"));
}

void SetReason(std::string* reason, const QString& text) {
  if (reason)
    *reason = text.toStdString();
}

}  // namespace

// One object on the bus: its introspection data and its methods, by
// interface and name. The standard interfaces are left to the bus library.
class QtAutomationServer::BusObject : public QDBusVirtualObject {
 public:
  struct Method {
    QString interface;
    QString member;
    std::function<void(const QDBusMessage&)> handler;
  };

  BusObject(QString introspection, std::vector<Method> methods, QObject* parent)
      : QDBusVirtualObject(parent),
        m_introspection(std::move(introspection)),
        m_methods(std::move(methods)) {}

  QString introspect(const QString& /*path*/) const override { return m_introspection; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.type() != QDBusMessage::MethodCallMessage ||
        message.interface().startsWith(kStandardInterfaces)) {
      return false;
    }
    for (const Method& method : m_methods) {
      if (method.member == message.member() &&
          (message.interface().isEmpty() || message.interface() == method.interface)) {
        method.handler(message);
        return true;
      }
    }
    connection.send(message.createErrorReply(
        QDBusError::UnknownMethod,
        QStringLiteral("No method %1 in %2").arg(message.member(), message.interface())));
    return true;
  }

 private:
  QString m_introspection;
  std::vector<Method> m_methods;
};

QtAutomationServer::QtAutomationServer(std::optional<QDBusConnection> bus)
    : m_bus(std::move(bus)) {}

QtAutomationServer::~QtAutomationServer() {
  // The objects go first: their destruction may end the program, which asks
  // nothing of the bus objects below.
  while (!m_objects.empty())
    DestroyObject(m_objects.begin());
}

QString QtAutomationServer::ServiceName(const CLSID& clsid) {
  return QStringLiteral("qov.CLSID_") + QString::fromStdString(NameElementFromGUID(clsid));
}

QString QtAutomationServer::DispatchInterfaceName(const IID& iid) {
  return QStringLiteral("qov.IID_") + QString::fromStdString(NameElementFromGUID(iid));
}

QString QtAutomationServer::ServiceFilePath(const CLSID& clsid) {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/dbus-1/services/") + ServiceName(clsid) + QStringLiteral(".service");
}

QByteArray QtAutomationServer::ServiceFileText(const CLSID& clsid, const QString& program) {
  return QStringLiteral(
             "# Written by qov when missing or naming a program that is gone: the session\n"
             "# bus starts qov for automation clients of the class %1.\n"
             "[D-BUS Service]\n"
             "Name=%2\n"
             "Exec=%3 /Automation\n")
      .arg(QString::fromStdString(StringFromGUID(clsid)), ServiceName(clsid), QuoteForExec(program))
      .toUtf8();
}

bool QtAutomationServer::RegisterServer(const CLSID& clsid, std::string* reason) {
  const QString program = QCoreApplication::applicationFilePath();
  if (program.isEmpty()) {
    SetReason(reason, QStringLiteral("the program's own path is not known"));
    return false;
  }
  const QString path = ServiceFilePath(clsid);
  const QByteArray text = ServiceFileText(clsid, program);
  // Kept while the program it names exists: a start from a build tree or a
  // second installation must not take automation over from the one in use.
  if (QFile current(path); current.open(QIODevice::ReadOnly)) {
    const QString named = ProgramOfServiceFile(current.readAll());
    if (!named.isEmpty() && QFileInfo(named).isExecutable())
      return true;
  }
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
    SetReason(reason, QStringLiteral("cannot create the folder of %1").arg(path));
    return false;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
    SetReason(reason, QStringLiteral("%1: %2").arg(path, file.errorString()));
    return false;
  }
  return true;
}

QDBusConnection& QtAutomationServer::Bus() {
  if (!m_bus)
    m_bus = QDBusConnection::sessionBus();
  return *m_bus;
}

bool QtAutomationServer::RegisterClassObject(COleObjectFactory& factory, std::string* reason) {
  QDBusConnection& bus = Bus();
  if (!bus.isConnected()) {
    SetReason(reason, QStringLiteral("no session bus: %1").arg(bus.lastError().message()));
    return false;
  }
  if (m_pFactory) {
    SetReason(reason, QStringLiteral("a class factory is registered already"));
    return false;
  }
  auto* object = new BusObject(
      kFactoryIntrospection,
      {{kFactoryInterface, QStringLiteral("CreateInstance"),
        [this, &factory](const QDBusMessage& message) { CreateInstance(factory, message); }}},
      this);
  if (!bus.registerVirtualObject(kFactoryPath, object)) {
    delete object;
    SetReason(reason, QStringLiteral("cannot serve %1 on the session bus").arg(kFactoryPath));
    return false;
  }
  const QString name = ServiceName(factory.GetClassID());
  const auto owned =
      bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                       QDBusConnectionInterface::DontAllowReplacement);
  if (!owned.isValid() || owned.value() != QDBusConnectionInterface::ServiceRegistered) {
    bus.unregisterObject(kFactoryPath);
    delete object;
    SetReason(reason, owned.isValid()
                          ? QStringLiteral("the bus name %1 belongs to another program").arg(name)
                          : owned.error().message());
    return false;
  }
  m_pFactory = &factory;
  m_pFactoryObject = object;
  return true;
}

void QtAutomationServer::RevokeClassObject(COleObjectFactory& factory) {
  if (m_pFactory != &factory)
    return;
  Bus().interface()->unregisterService(ServiceName(factory.GetClassID()));
  Bus().unregisterObject(kFactoryPath);
  // Not deleted here: this may run inside the factory object's own handler.
  m_pFactoryObject->deleteLater();
  m_pFactoryObject = nullptr;
  m_pFactory = nullptr;
}

void QtAutomationServer::CreateInstance(COleObjectFactory& factory, const QDBusMessage& message) {
  const QVariantList arguments = message.arguments();
  const std::optional<IID> iid =
      arguments.size() == 1 && arguments[0].metaType() == QMetaType::fromType<QString>()
          ? GUIDFromString(arguments[0].toString().toStdString())
          : std::nullopt;
  if (!iid) {
    Refuse(message.createErrorReply(
        QDBusError::InvalidArgs,
        QStringLiteral("CreateInstance takes an interface identifier, \"{XXXXXXXX-...}\"")));
    return;
  }
  COleObjectFactory::CreateError error = COleObjectFactory::CreateError::None;
  std::unique_ptr<CCmdTarget> target = factory.CreateInstance(*iid, &error);
  if (!target) {
    Refuse(error == COleObjectFactory::CreateError::NoInterface
               ? message.createErrorReply(
                     kErrorNoInterface,
                     QStringLiteral("The object does not answer %1").arg(arguments[0].toString()))
               : message.createErrorReply(kErrorFailed,
                                          QStringLiteral("The object could not be made")));
    return;
  }
  const QString path = kObjectPathPrefix + QString::number(++m_nLastObject);
  auto* busObject =
      new BusObject(ObjectIntrospection(*target),
                    {{kUnknownInterface, QStringLiteral("Release"),
                      [this, path](const QDBusMessage& call) { Release(path, call); }}},
                    this);
  if (!Bus().registerVirtualObject(path, busObject)) {
    delete busObject;
    Refuse(message.createErrorReply(kErrorFailed, QStringLiteral("Cannot serve %1").arg(path)));
    return;
  }
  const QString client = message.service();
  m_objects[path] = Object{std::move(target), busObject, {{client, 1}}};
  if (!m_pClients) {
    m_pClients = new QDBusServiceWatcher(QString(), Bus(),
                                         QDBusServiceWatcher::WatchForUnregistration, this);
    connect(m_pClients, &QDBusServiceWatcher::serviceUnregistered, this,
            &QtAutomationServer::ClientLeft);
  }
  m_pClients->addWatchedService(client);
  Reply(message.createReply(QVariant::fromValue(QDBusObjectPath(path))));
}

void QtAutomationServer::Release(const QString& path, const QDBusMessage& message) {
  const auto object = m_objects.find(path);
  std::map<QString, int>* holds = object == m_objects.end() ? nullptr : &object->second.holds;
  const auto hold = holds ? holds->find(message.service()) : std::map<QString, int>::iterator();
  if (!holds || hold == holds->end()) {
    Reply(message.createErrorReply(kErrorNotHeld,
                                   QStringLiteral("The caller holds no %1").arg(path)));
    return;
  }
  if (--hold->second == 0)
    holds->erase(hold);
  // The answer goes out before the object: its going may end the program.
  Reply(message.createReply());
  if (holds->empty())
    DestroyObject(object);
}

void QtAutomationServer::ClientLeft(const QString& client) {
  m_pClients->removeWatchedService(client);
  std::vector<QString> unheld;
  for (auto& [path, object] : m_objects) {
    object.holds.erase(client);
    if (object.holds.empty())
      unheld.push_back(path);
  }
  for (const QString& path : unheld)
    DestroyObject(m_objects.find(path));
}

void QtAutomationServer::DestroyObject(std::map<QString, Object>::iterator object) {
  if (m_bus)
    m_bus->unregisterObject(object->first);
  // Its handler may be running: the bus object goes once that has returned.
  object->second.busObject->deleteLater();
  std::unique_ptr<CCmdTarget> target = std::move(object->second.target);
  m_objects.erase(object);
  target.reset();
}

void QtAutomationServer::Reply(const QDBusMessage& reply) {
  Bus().send(reply);
}

// A request that made no object: a program started for it, holding none,
// has nothing left to serve and ends as after the last release.
void QtAutomationServer::Refuse(const QDBusMessage& error) {
  Reply(error);
  if (m_objects.empty() && AfxOleCanExitApp())
    AfxOleOnReleaseAllObjects();
}

}  // namespace qov
