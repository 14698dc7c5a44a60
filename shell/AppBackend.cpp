#include "shell/AppBackend.h"

#include <stdexcept>

namespace qov {
namespace {
IAppBackend* g_pAppBackend = nullptr;
}  // namespace

IAppBackend& AppBackend() {
  if (!g_pAppBackend)
    throw std::logic_error("no application backend installed");
  return *g_pAppBackend;
}

IAppBackend* SetAppBackend(IAppBackend* backend) {
  IAppBackend* previous = g_pAppBackend;
  g_pAppBackend = backend;
  return previous;
}

}  // namespace qov
