#pragma once
// Automation over the session bus.
//
// A registered class factory owns the bus name "qov.CLSID_<class id>" and
// serves at /ClassFactory the interface qov.IClassFactory:
//   CreateInstance(s iid) -> o   a new object answering the interface `iid`
//                                ("{XXXXXXXX-...}"), held once by the caller
// An object lives at /Object/N with the interface qov.IUnknown:
//   Release()                    gives back one of the caller's holds
// and its dispatch interface "qov.IID_<interface id>". An object goes when
// its holders have released it or have left the bus. After a single-use
// factory's first object its name is released, and the caller goes on
// through the unique name that answered it.
//
// RegisterServer writes the service file with which the bus starts
// `PROGRAM /Automation` when a client asks for the factory's name.

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <optional>

#include "shell/AutomationBackend.h"

class QDBusMessage;

namespace qov {

class CCmdTarget;

class QtAutomationServer : public QObject, public IAutomationBackend {
  Q_OBJECT

 public:
  // On `bus`, or on the session bus when none is given.
  explicit QtAutomationServer(std::optional<QDBusConnection> bus = std::nullopt);
  ~QtAutomationServer() override;

  bool RegisterClassObject(COleObjectFactory& factory, std::string* reason) override;
  void RevokeClassObject(COleObjectFactory& factory) override;
  bool RegisterServer(const CLSID& clsid, std::string* reason) override;

  static QString ServiceName(const CLSID& clsid);
  static QString DispatchInterfaceName(const IID& iid);
  // In the user's data folder, where the session bus looks for services.
  static QString ServiceFilePath(const CLSID& clsid);
  static QByteArray ServiceFileText(const CLSID& clsid, const QString& program);

 private:
  class BusObject;
  struct Object {
    std::unique_ptr<CCmdTarget> target;
    BusObject* busObject = nullptr;
    // Holds per client, by unique bus name.
    std::map<QString, int> holds;
  };

  QDBusConnection& Bus();
  void CreateInstance(COleObjectFactory& factory, const QDBusMessage& message);
  void Release(const QString& path, const QDBusMessage& message);
  void ClientLeft(const QString& client);
  void DestroyObject(std::map<QString, Object>::iterator object);
  void Reply(const QDBusMessage& reply);
  void Refuse(const QDBusMessage& error);

  std::optional<QDBusConnection> m_bus;
  QDBusServiceWatcher* m_pClients = nullptr;
  COleObjectFactory* m_pFactory = nullptr;
  BusObject* m_pFactoryObject = nullptr;
  std::map<QString, Object> m_objects;
  unsigned m_nLastObject = 0;
};

}  // namespace qov
