#pragma once
// A function run on every way out of a scope, exceptions included: for the
// pairs that have no object of their own, such as a flag that guards against
// re-entry while the code under it changes what would call it again.

#include <utility>

namespace qov {

template <class F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : m_f(std::move(f)) {}
  ~ScopeExit() { m_f(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F m_f;
};

// Sets `flag` now and clears it when the returned guard goes.
inline auto SetForScope(bool& flag) {
  flag = true;
  return ScopeExit([&flag] { flag = false; });
}

}  // namespace qov
