#pragma once
// How far a long walk over the picture has come, and the user's way to stop
// it. A walk tells whoever listens on its thread; the window listens (a
// progress dialog with a cancel button), the batch converter does not, and
// without a listener a step costs one test of a pointer.

#include <chrono>
#include <cstdint>
#include <memory>

namespace qov {

class CProgress {
 public:
  virtual ~CProgress() = default;
  // A walk of `total` steps begins, or the innermost one ends; walks may
  // nest (the stages of the vectorizer, each walking the picture).
  virtual void BeginWalk(std::int64_t total) = 0;
  virtual void EndWalk() noexcept = 0;
  // `done` steps of the innermost walk are behind it. Throws CUserException
  // once the user has asked to stop: the walk's caller puts back what it
  // changed on the way out.
  virtual void Step(std::int64_t done) = 0;
};

// A clock cheap enough for a listener to read at every step (a few
// nanoseconds), to the few milliseconds a person can tell apart.
std::chrono::milliseconds ProgressNow();

// Makes `listener` (not owned, may be null) the listener of this thread for
// the scope's lifetime.
class CProgressScope {
 public:
  explicit CProgressScope(CProgress* listener);
  ~CProgressScope();
  CProgressScope(const CProgressScope&) = delete;
  CProgressScope& operator=(const CProgressScope&) = delete;

 private:
  CProgress* m_pPrevious;
};

// The scope of one command: the backend's listener, if it has one, unless
// the thread has one already.
class CCommandProgress {
 public:
  CCommandProgress();
  ~CCommandProgress();
  CCommandProgress(const CCommandProgress&) = delete;
  CCommandProgress& operator=(const CCommandProgress&) = delete;

 private:
  std::unique_ptr<CProgress> m_pListener;
  CProgressScope m_scope;
};

// One walk of `total` steps, reported to this thread's listener.
class CProgressWalk {
 public:
  explicit CProgressWalk(std::int64_t total);
  ~CProgressWalk();
  CProgressWalk(const CProgressWalk&) = delete;
  CProgressWalk& operator=(const CProgressWalk&) = delete;

  void Step(std::int64_t done) {
    if (m_pListener)
      m_pListener->Step(done);
  }

 private:
  CProgress* m_pListener;
};

}  // namespace qov
