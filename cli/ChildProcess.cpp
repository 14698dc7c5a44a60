#include "cli/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace qov {
namespace {

// In the new process: it ends with the run that started it (a run killed
// outright leaves no conversion going on), and it reads nothing and writes
// its messages into `errorFd`. Only calls that are safe after fork().
[[noreturn]] void ExecChild(char* const* args, int errorFd, pid_t parent, const char* cannotStart) {
  // The run may have ended before the signal was asked for.
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent)
    _exit(127);
  const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (nothing < 0 || dup2(nothing, STDIN_FILENO) < 0 || dup2(errorFd, STDERR_FILENO) < 0)
    _exit(127);
  execve(args[0], args, environ);
  for (const char* text : {cannotStart, strerrordesc_np(errno)}) {
    if (write(STDERR_FILENO, text, std::strlen(text)) < 0)
      break;
  }
  _exit(127);
}

}  // namespace

std::optional<ChildProcess> ChildProcess::Start(const std::vector<std::string>& argv,
                                                std::string& error) {
  int fds[2];
  // Close-on-exec, so that no child holds another's pipe open and an end is
  // seen as soon as the child that writes it ends.
  if (pipe2(fds, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return std::nullopt;
  }
  std::vector<char*> args;
  for (const std::string& arg : argv)
    args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  // Its last line, as the one-picture form gives a reason.
  const std::string cannotStart = "qov-convert: cannot start " + argv[0] + ": ";
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0)
    ExecChild(args.data(), fds[1], parent, cannotStart.c_str());
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    error = "cannot start " + argv[0] + ": " + std::strerror(errno);
    return std::nullopt;
  }
  return ChildProcess(pid, fds[0]);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_pid(other.m_pid), m_errorFd(other.m_errorFd), m_errorText(std::move(other.m_errorText)) {
  other.m_pid = -1;
  other.m_errorFd = -1;
}

ChildProcess::~ChildProcess() {
  if (m_errorFd >= 0)
    close(m_errorFd);
  if (m_pid > 0) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
  }
}

bool ChildProcess::ReadError() {
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(m_errorFd, buffer, sizeof buffer);
    if (n > 0) {
      m_errorText.append(buffer, static_cast<std::size_t>(n));
      return true;
    }
    if (n < 0 && errno == EINTR)
      continue;
    return false;
  }
}

void ChildProcess::Terminate() const {
  if (m_pid > 0)
    kill(m_pid, SIGTERM);
}

ChildProcess::Ending ChildProcess::Wait() {
  Ending ending;
  int status = 0;
  rusage usage{};
  while (wait4(m_pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  m_pid = -1;
  if (WIFEXITED(status))
    ending.exitStatus = WEXITSTATUS(status);
  else if (WIFSIGNALED(status))
    ending.signal = WTERMSIG(status);
  // Linux counts the largest resident set in kibibytes.
  ending.peakBytes = static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
  return ending;
}

}  // namespace qov
