#include "platform/OleLock.h"

namespace qov {
namespace {

long g_nLockCount = 0;
bool g_bUserCtrl = true;
OleReleaseHandler g_pOnRelease = nullptr;

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
  if (!g_bUserCtrl && g_pOnRelease)
    g_pOnRelease();
}

void AfxOleSetReleaseHandler(OleReleaseHandler handler) {
  g_pOnRelease = handler;
}

}  // namespace qov
