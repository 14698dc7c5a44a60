#pragma once
// The interprocess object system through which automation clients reach the
// program's class factories: the session bus on the desktop. Without a
// backend the program has no automation.

#include <string>

#include "platform/Guid.h"

namespace qov {

class COleObjectFactory;

class IAutomationBackend {
 public:
  virtual ~IAutomationBackend() = default;

  // Makes `factory` reachable by clients, which then create objects through
  // COleObjectFactory::CreateInstance. False, with *reason, when it cannot.
  virtual bool RegisterClassObject(COleObjectFactory& factory, std::string* reason) = 0;
  // Later requests for the factory's class no longer come here; objects
  // already made stay.
  virtual void RevokeClassObject(COleObjectFactory& factory) = 0;
  // Records how a client's request for `clsid` starts this program in
  // automation mode. False, with *reason, when the record cannot be written.
  virtual bool RegisterServer(const CLSID& clsid, std::string* reason) = 0;
};

// The backend in force, or null.
IAutomationBackend* AutomationBackend();
// Installs `backend` (not owned, may be null); returns the previous one.
IAutomationBackend* SetAutomationBackend(IAutomationBackend* backend);

}  // namespace qov
