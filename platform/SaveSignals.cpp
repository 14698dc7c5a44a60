// A save that a signal ends must leave no trace: where the file system has no
// unnamed files, a save writes a named temporary beside its target, which
// must go; a save in place has overwritten the target's bytes, which must come
// back. The handler may only use what is safe in a signal: fixed slots,
// unlink(), pwrite(), ftruncate(), fsync().

#include "platform/SaveSignals.h"

#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>

namespace qov {
namespace {

constexpr int kSlots = 16;
constexpr std::size_t kMaxPath = 4096;
enum SlotState : int { kFree, kFilling, kActive };

struct TemporarySlot {
  std::atomic<int> state{kFree};
  char path[kMaxPath];
};

struct InPlaceSlot {
  std::atomic<int> state{kFree};
  int fd;
  const char* oldBytes;
  std::size_t size;
};

TemporarySlot g_temporaries[kSlots];
InPlaceSlot g_inPlaceSaves[kSlots];

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGXFSZ};

// Takes a free slot of `slots`, fills it and makes it active; -1 when none is
// free.
template <typename Slot, typename Fill>
int TakeSlot(Slot (&slots)[kSlots], Fill fill) {
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (slots[i].state.compare_exchange_strong(expected, kFilling)) {
      fill(slots[i]);
      slots[i].state.store(kActive);
      return i;
    }
  }
  return -1;
}

void PutBack(const InPlaceSlot& slot) {
  std::size_t done = 0;
  while (done < slot.size) {
    const ssize_t n =
        ::pwrite(slot.fd, slot.oldBytes + done, slot.size - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return;
    done += static_cast<std::size_t>(n);
  }
  if (::ftruncate(slot.fd, static_cast<off_t>(slot.size)) == 0)
    ::fsync(slot.fd);
}

void UndoSaves(int signal) {
  for (TemporarySlot& slot : g_temporaries) {
    if (slot.state.load() == kActive)
      ::unlink(slot.path);
  }
  for (InPlaceSlot& slot : g_inPlaceSaves) {
    if (slot.state.load() == kActive)
      PutBack(slot);
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
    action.sa_handler = UndoSaves;
    sigemptyset(&action.sa_mask);
    for (int other : kSignals)
      sigaddset(&action.sa_mask, other);
    ::sigaction(signal, &action, nullptr);
  }
}

void InstallHandlersOnce() {
  static std::once_flag installed;
  std::call_once(installed, InstallHandlers);
}

// SIGXFSZ is ignored while any save in place runs, where it was ours to
// handle; its handling comes back with the last one.
std::mutex g_fileSizeSignalMutex;
int g_inPlaceSaveCount = 0;
bool g_bFileSizeSignalIgnored = false;
struct sigaction g_fileSizeSignalAction {};

void IgnoreFileSizeSignal() {
  const std::lock_guard lock(g_fileSizeSignalMutex);
  if (g_inPlaceSaveCount++ > 0)
    return;
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  if (::sigaction(SIGXFSZ, nullptr, &g_fileSizeSignalAction) != 0)
    return;
  g_bFileSizeSignalIgnored = g_fileSizeSignalAction.sa_handler == SIG_DFL ||
                             g_fileSizeSignalAction.sa_handler == UndoSaves;
  if (g_bFileSizeSignalIgnored)
    ::sigaction(SIGXFSZ, &ignore, nullptr);
}

void RestoreFileSizeSignal() noexcept {
  const std::lock_guard lock(g_fileSizeSignalMutex);
  if (--g_inPlaceSaveCount > 0 || !g_bFileSizeSignalIgnored)
    return;
  ::sigaction(SIGXFSZ, &g_fileSizeSignalAction, nullptr);
  g_bFileSizeSignalIgnored = false;
}

}  // namespace

int RegisterSaveTemporary(const std::string& path) {
  InstallHandlersOnce();
  if (path.size() >= kMaxPath)
    return -1;
  return TakeSlot(g_temporaries, [&path](TemporarySlot& slot) {
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
  });
}

void UnregisterSaveTemporary(int slot) noexcept {
  if (slot >= 0 && slot < kSlots)
    g_temporaries[slot].state.store(kFree);
}

int RegisterInPlaceSave(int fd, const char* oldBytes, std::size_t size) {
  InstallHandlersOnce();
  const int slot = TakeSlot(g_inPlaceSaves, [&](InPlaceSlot& s) {
    s.fd = fd;
    s.oldBytes = oldBytes;
    s.size = size;
  });
  if (slot >= 0)
    IgnoreFileSizeSignal();
  return slot;
}

void UnregisterInPlaceSave(int slot) noexcept {
  if (slot >= 0 && slot < kSlots && g_inPlaceSaves[slot].state.exchange(kFree) == kActive)
    RestoreFileSizeSignal();
}

}  // namespace qov
