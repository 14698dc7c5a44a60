#include "platform/Progress.h"

#include "platform/Backend.h"

namespace qov {
namespace {

thread_local CProgress* t_pListener = nullptr;

}  // namespace

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

CProgressWalk::CProgressWalk(std::int64_t total) : m_pListener(t_pListener), m_nTotal(total) {
  if (m_pListener)
    m_pListener->BeginWalk();
}

CProgressWalk::~CProgressWalk() {
  if (m_pListener)
    m_pListener->EndWalk();
}

}  // namespace qov
