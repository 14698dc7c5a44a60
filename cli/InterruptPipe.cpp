#include "cli/InterruptPipe.h"

#include <fcntl.h>
#include <unistd.h>

namespace qov {
namespace {

constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};

int g_writeFd = -1;

void Notify(int) {
  const char byte = 1;
  // A full pipe already says it: nothing more to do when the write fails.
  [[maybe_unused]] ssize_t written = write(g_writeFd, &byte, 1);
}

}  // namespace

InterruptPipe::InterruptPipe() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
    return;
  m_readFd = fds[0];
  g_writeFd = fds[1];
  struct sigaction action {};
  action.sa_handler = Notify;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kSignals.size(); ++i)
    sigaction(kSignals[i], &action, &m_previous[i]);
}

InterruptPipe::~InterruptPipe() {
  if (m_readFd < 0)
    return;
  for (std::size_t i = 0; i < kSignals.size(); ++i)
    sigaction(kSignals[i], &m_previous[i], nullptr);
  close(m_readFd);
  close(g_writeFd);
  g_writeFd = -1;
}

}  // namespace qov
