// Where the file system has no unnamed files, a save writes a named temporary
// beside its target; a signal that ends the program must not leave it there.
// The handler may only use what is safe in a signal: fixed slots, unlink().

#include "platform/SaveSignals.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>

namespace qov {
namespace {

constexpr int kSlots = 16;
constexpr std::size_t kMaxPath = 4096;
enum SlotState : int { kFree, kFilling, kActive };

struct Slot {
  std::atomic<int> state{kFree};
  char path[kMaxPath];
};

Slot g_slots[kSlots];

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGXFSZ};

void RemoveTemporaries(int signal) {
  for (Slot& slot : g_slots) {
    if (slot.state.load() == kActive)
      ::unlink(slot.path);
  }
  // Then end as the signal would have.
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// Only signals left to the system: one the program ignores or handles
// itself keeps its handling.
void InstallHandlers() {
  for (int signal : kSignals) {
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler != SIG_DFL)
      continue;
    struct sigaction action {};
    action.sa_handler = RemoveTemporaries;
    sigemptyset(&action.sa_mask);
    for (int other : kSignals)
      sigaddset(&action.sa_mask, other);
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace

int RegisterSaveTemporary(const std::string& path) {
  static std::once_flag installed;
  std::call_once(installed, InstallHandlers);
  if (path.size() >= kMaxPath)
    return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (g_slots[i].state.compare_exchange_strong(expected, kFilling)) {
      std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
      g_slots[i].state.store(kActive);
      return i;
    }
  }
  return -1;
}

void UnregisterSaveTemporary(int slot) noexcept {
  if (slot >= 0 && slot < kSlots)
    g_slots[slot].state.store(kFree);
}

}  // namespace qov
