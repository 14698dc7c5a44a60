#include "shell/AppBackend.h"

#include <stdexcept>

#include "platform/OleLock.h"

namespace qov {
namespace {
IAppBackend* g_pAppBackend = nullptr;

// Giving back the last automation object ends a program the user does not
// control: its message loop stops.
void QuitOnRelease() noexcept {
  if (g_pAppBackend)
    g_pAppBackend->Quit(0);
}
}  // namespace

IAppBackend& AppBackend() {
  if (!g_pAppBackend)
    throw std::logic_error("no application backend installed");
  return *g_pAppBackend;
}

IAppBackend* SetAppBackend(IAppBackend* backend) {
  IAppBackend* previous = g_pAppBackend;
  g_pAppBackend = backend;
  AfxOleSetReleaseHandler(backend ? QuitOnRelease : nullptr);
  return previous;
}

}  // namespace qov
