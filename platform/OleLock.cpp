#include "platform/OleLock.h"

#include <stdexcept>

#include "platform/AppBackend.h"

namespace qov {
namespace {

long g_nLockCount = 0;
bool g_bUserCtrl = true;

}  // namespace

void AfxOleLockApp() {
  ++g_nLockCount;
}

void AfxOleUnlockApp() {
  if (g_nLockCount == 0)
    return;
  if (--g_nLockCount == 0)
    AfxOleOnReleaseAllObjects();
}

bool AfxOleCanExitApp() {
  return g_nLockCount == 0;
}

bool AfxOleGetUserCtrl() {
  return g_bUserCtrl;
}

void AfxOleSetUserCtrl(bool userCtrl) {
  g_bUserCtrl = userCtrl;
}

void AfxOleOnReleaseAllObjects() noexcept {
  if (g_bUserCtrl)
    return;
  try {
    AppBackend().Quit(0);
  } catch (const std::logic_error&) {
    // No message loop (yet, or any more): nothing to end.
  }
}

}  // namespace qov
