#include "shell/AutomationBackend.h"

namespace qov {
namespace {
IAutomationBackend* g_pAutomationBackend = nullptr;
}  // namespace

IAutomationBackend* AutomationBackend() {
  return g_pAutomationBackend;
}

IAutomationBackend* SetAutomationBackend(IAutomationBackend* backend) {
  IAutomationBackend* previous = g_pAutomationBackend;
  g_pAutomationBackend = backend;
  return previous;
}

}  // namespace qov
