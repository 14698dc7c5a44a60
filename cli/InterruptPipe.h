#pragma once
// SIGINT, SIGTERM and SIGHUP turned into a readable pipe for as long as this
// object lives, so that a run waiting in poll() can stop its children and
// clear their unfinished outputs before it ends.

#include <signal.h>

#include <array>

namespace qov {

class InterruptPipe {
 public:
  InterruptPipe();
  ~InterruptPipe();
  InterruptPipe(const InterruptPipe&) = delete;
  InterruptPipe& operator=(const InterruptPipe&) = delete;

  // Readable once one of the signals has come.
  int fd() const { return m_readFd; }

 private:
  int m_readFd = -1;
  std::array<struct sigaction, 3> m_previous{};
};

}  // namespace qov
