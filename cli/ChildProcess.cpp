#include "cli/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "cli/BatchResult.h"

extern char** environ;

namespace qov {
namespace {

// What the new process needs, all made before fork(): after it, only calls
// that are safe there.
struct ExecPlan {
  char* const* args;
  char* const* env;
  int errorFd;
  int resultFd;
  pid_t parent;
  const char* cannotStart;        // the start of its stderr line
  const char* cannotStartRecord;  // the start of its result record
};

void WritePieces(int fd, std::initializer_list<const char*> pieces) {
  for (const char* text : pieces) {
    if (write(fd, text, std::strlen(text)) < 0)
      return;
  }
}

// In the new process: it ends with the run that started it (a run killed
// outright leaves no conversion going on), reads nothing, writes its
// messages into `errorFd` and keeps `resultFd` open across the exec.
[[noreturn]] void ExecChild(const ExecPlan& plan) {
  // The run may have ended before the signal was asked for.
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != plan.parent)
    _exit(127);
  const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (nothing < 0 || dup2(nothing, STDIN_FILENO) < 0 || dup2(plan.errorFd, STDERR_FILENO) < 0 ||
      fcntl(plan.resultFd, F_SETFD, 0) < 0)
    _exit(127);
  execve(plan.args[0], plan.args, plan.env);
  const char* why = strerrordesc_np(errno);
  WritePieces(STDERR_FILENO, {plan.cannotStart, why});
  WritePieces(plan.resultFd, {plan.cannotStartRecord, why, "\n"});
  _exit(127);
}

// This process's environment, with kResultFdVariable naming `resultFd`.
std::vector<std::string> ChildEnvironment(int resultFd) {
  const std::string name = std::string(kResultFdVariable) + "=";
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::string_view(*entry).rfind(name, 0) != 0)
      env.emplace_back(*entry);
  }
  env.push_back(name + std::to_string(resultFd));
  return env;
}

std::vector<char*> Pointers(const std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (const std::string& text : texts)
    pointers.push_back(const_cast<char*>(text.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

std::optional<ChildProcess> ChildProcess::Start(const std::vector<std::string>& argv,
                                                std::string& error) {
  int errors[2] = {-1, -1};
  int results[2] = {-1, -1};
  // Close-on-exec, so that no child holds another's pipes open and an end is
  // seen as soon as the child that writes it ends.
  if (pipe2(errors, O_CLOEXEC) != 0 || pipe2(results, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    for (const int fd : errors) {
      if (fd >= 0)
        close(fd);
    }
    return std::nullopt;
  }
  const std::vector<char*> args = Pointers(argv);
  const std::vector<std::string> envTexts = ChildEnvironment(results[1]);
  const std::vector<char*> env = Pointers(envTexts);
  // Its last line, as the one-picture form gives a reason, and its record.
  const std::string reason = "cannot start " + argv[0] + ": ";
  const std::string cannotStart = "qov-convert: " + reason;
  std::string record = FormatBatchResult({127, reason});
  record.pop_back();
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    ExecChild({args.data(), env.data(), errors[1], results[1], parent, cannotStart.c_str(),
               record.c_str()});
  }
  close(errors[1]);
  close(results[1]);
  if (pid < 0) {
    close(errors[0]);
    close(results[0]);
    error = reason + std::strerror(errno);
    return std::nullopt;
  }
  return ChildProcess(pid, errors[0], results[0]);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_pid(other.m_pid), m_errorFd(other.m_errorFd), m_resultFd(other.m_resultFd) {
  other.m_pid = -1;
  other.m_errorFd = -1;
  other.m_resultFd = -1;
}

ChildProcess::~ChildProcess() {
  for (const int fd : {m_errorFd, m_resultFd}) {
    if (fd >= 0)
      close(fd);
  }
  if (m_pid > 0) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
  }
}

bool ChildProcess::ReadError() {
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(m_errorFd, buffer, sizeof buffer);
    if (n > 0)
      return true;
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
  // The child is gone, so the pipe ends after what it wrote.
  char buffer[4096];
  ssize_t n = 0;
  while ((n = read(m_resultFd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0)
      ending.result.append(buffer, static_cast<std::size_t>(n));
  }
  close(m_resultFd);
  m_resultFd = -1;
  return ending;
}

}  // namespace qov
