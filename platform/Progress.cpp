#include "platform/Progress.h"

#include <time.h>

#include "platform/Backend.h"

namespace qov {
namespace {

thread_local CProgress* t_pListener = nullptr;

}  // namespace

std::chrono::milliseconds ProgressNow() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return std::chrono::seconds(now.tv_sec) + std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::nanoseconds(now.tv_nsec));
}

CProgressScope::CProgressScope(CProgress* listener) : m_pPrevious(t_pListener) {
  t_pListener = listener;
}

CProgressScope::~CProgressScope() {
  t_pListener = m_pPrevious;
}

// A command inside another (an open that a command runs) keeps the
// listener it was given.
CCommandProgress::CCommandProgress()
    : m_pListener(t_pListener ? nullptr : Platform().CreateProgress()),
      m_scope(m_pListener ? m_pListener.get() : t_pListener) {}

CCommandProgress::~CCommandProgress() = default;

CProgressWalk::CProgressWalk(std::int64_t total) : m_pListener(t_pListener) {
  if (m_pListener)
    m_pListener->BeginWalk(total);
}

CProgressWalk::~CProgressWalk() {
  if (m_pListener)
    m_pListener->EndWalk();
}

}  // namespace qov
