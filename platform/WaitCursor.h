#pragma once

namespace qov {

// Shows the wait cursor from construction until End() or destruction.
// Nests: the cursor returns when the last one ends.
class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor() { End(); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  void End();

 private:
  bool m_bActive;
};

}  // namespace qov
