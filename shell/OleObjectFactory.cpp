#include "shell/OleObjectFactory.h"

#include <algorithm>
#include <vector>

#include "platform/CmdTarget.h"
#include "platform/OleLock.h"
#include "shell/AutomationBackend.h"

namespace qov {
namespace {

constexpr const char* kNoAutomationBackend = "this program has no interprocess object system";

std::vector<COleObjectFactory*>& Factories() {
  static std::vector<COleObjectFactory*> factories;
  return factories;
}

}  // namespace

COleObjectFactory::COleObjectFactory() {
  Factories().push_back(this);
}

COleObjectFactory::~COleObjectFactory() {
  Revoke();
  auto& factories = Factories();
  factories.erase(std::remove(factories.begin(), factories.end(), this), factories.end());
}

void COleObjectFactory::SetClassID(const CLSID& clsid, bool multiInstance) {
  m_clsid = clsid;
  m_bMultiInstance = multiInstance;
}

bool COleObjectFactory::Register(std::string* reason) {
  if (m_bRegistered)
    return true;
  IAutomationBackend* backend = AutomationBackend();
  if (!backend) {
    if (reason)
      *reason = kNoAutomationBackend;
    return false;
  }
  m_bRegistered = backend->RegisterClassObject(*this, reason);
  return m_bRegistered;
}

void COleObjectFactory::Revoke() {
  if (!m_bRegistered)
    return;
  m_bRegistered = false;
  if (IAutomationBackend* backend = AutomationBackend())
    backend->RevokeClassObject(*this);
}

bool COleObjectFactory::UpdateRegistry(std::string* reason) {
  IAutomationBackend* backend = AutomationBackend();
  if (!backend) {
    if (reason)
      *reason = kNoAutomationBackend;
    return false;
  }
  return backend->RegisterServer(m_clsid, reason);
}

bool COleObjectFactory::RegisterAll(std::string* reason) {
  AfxOleSetUserCtrl(false);
  bool all = true;
  for (COleObjectFactory* factory : Factories())
    all = factory->Register(reason) && all;
  return all;
}

bool COleObjectFactory::UpdateRegistryAll(std::string* reason) {
  bool all = true;
  for (COleObjectFactory* factory : Factories())
    all = factory->UpdateRegistry(reason) && all;
  return all;
}

std::unique_ptr<CCmdTarget> COleObjectFactory::CreateInstance(const IID& iid,
                                                              CreateError* error) noexcept {
  *error = CreateError::None;
  std::unique_ptr<CCmdTarget> object;
  try {
    object = OnCreateObject();
  } catch (...) {
    // Reported below as the failure to make the object that it is.
  }
  if (!object) {
    *error = CreateError::Failed;
    return nullptr;
  }
  if (!AnswersInterface(*object, iid)) {
    // Destroying the object gives its lock back: a program started for this
    // request alone ends, as it would after the client's release.
    *error = CreateError::NoInterface;
    return nullptr;
  }
  if (m_bMultiInstance)
    Revoke();
  return object;
}

bool AnswersInterface(const CCmdTarget& object, const IID& iid) {
  if (iid == IID_IUnknown)
    return true;
  const GUID* dispatch = object.GetDispatchIID();
  return dispatch && (iid == IID_IDispatch || iid == *dispatch);
}

}  // namespace qov
