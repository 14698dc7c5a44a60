#pragma once
// Automation class factories. A factory registered as running is reachable
// by automation clients through the backend, which asks it for objects; its
// record in the registry lets a client start the program when none runs.

#include <memory>
#include <string>

#include "platform/Guid.h"

namespace qov {

class CCmdTarget;

class COleObjectFactory {
 public:
  enum class CreateError { None, NoInterface, Failed };

  COleObjectFactory();
  virtual ~COleObjectFactory();
  COleObjectFactory(const COleObjectFactory&) = delete;
  COleObjectFactory& operator=(const COleObjectFactory&) = delete;

  const CLSID& GetClassID() const { return m_clsid; }
  bool IsRegistered() const { return m_bRegistered; }

  bool Register(std::string* reason = nullptr);
  void Revoke();
  // Records how a client's request for the class starts the program.
  virtual bool UpdateRegistry(std::string* reason = nullptr);

  // Every factory of the program registered as running: the program now
  // runs for its clients, and the user does not control it. False, with
  // *reason, when one could not be registered.
  static bool RegisterAll(std::string* reason = nullptr);
  static bool UpdateRegistryAll(std::string* reason = nullptr);

  // A client's request for an object that answers `iid`: the new object,
  // owned by the caller; null, with *error, when it could not be made or
  // does not answer `iid`. Nothing escapes: the backend calls this from its
  // message handling.
  std::unique_ptr<CCmdTarget> CreateInstance(const IID& iid, CreateError* error) noexcept;

 protected:
  void SetClassID(const CLSID& clsid, bool multiInstance);
  // Makes a new object; null on failure.
  virtual std::unique_ptr<CCmdTarget> OnCreateObject() = 0;

 private:
  CLSID m_clsid{};
  bool m_bMultiInstance = false;
  bool m_bRegistered = false;
};

// Whether `object` answers `iid`: IUnknown always; IDispatch and its own
// dispatch interface when it is an automation object.
bool AnswersInterface(const CCmdTarget& object, const IID& iid);

}  // namespace qov
