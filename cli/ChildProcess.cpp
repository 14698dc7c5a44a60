#include "cli/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace qov {
namespace {

// posix_spawn's file actions, released on every path.
class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&m_actions); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&m_actions); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  posix_spawn_file_actions_t* get() { return &m_actions; }

 private:
  posix_spawn_file_actions_t m_actions{};
};

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
  SpawnActions actions;
  posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(actions.get(), fds[1], STDERR_FILENO);
  std::vector<char*> args;
  for (const std::string& arg : argv)
    args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, args[0], actions.get(), nullptr, args.data(), environ);
  close(fds[1]);
  if (failed != 0) {
    close(fds[0]);
    error = "cannot start " + argv[0] + ": " + std::strerror(failed);
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
