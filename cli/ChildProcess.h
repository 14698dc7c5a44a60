#pragma once
// One qov-convert working on one input, in a process of its own, so that a
// picture that breaks it (or needs all the memory) breaks nothing else and
// its peak memory can be told.

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qov {

class ChildProcess {
 public:
  struct Ending {
    int exitStatus = -1;  // -1 when it was ended by a signal
    int signal = 0;
    std::uint64_t peakBytes = 0;  // its largest resident set
    std::string result;           // what it wrote on its result descriptor
  };

  // Starts argv[0] with the arguments that follow, reading nothing, writing
  // standard output where this process does, standard error into a pipe,
  // and its result (BatchResult) into another, whose descriptor the
  // variable kResultFdVariable names to it; it is killed when this process
  // ends. Null with `error` set when no process can be made; a program that
  // cannot be run ends with status 127 and says why in both pipes.
  static std::optional<ChildProcess> Start(const std::vector<std::string>& argv,
                                           std::string& error);

  // No process: what a job that could not be started holds.
  ChildProcess() = default;
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // A child still running is ended and waited for: none outlives its owner.
  ~ChildProcess();

  // The pipe of its standard error, for poll().
  int ErrorFd() const { return m_errorFd; }
  // Takes what the pipe holds and drops it (the run says a failed input's
  // reason itself, from the result); false once it is closed (the child
  // ended).
  bool ReadError();

  void Terminate() const;
  // Waits for the end of a child whose error pipe has closed, and takes
  // its result.
  Ending Wait();

 private:
  ChildProcess(pid_t pid, int errorFd, int resultFd)
      : m_pid(pid), m_errorFd(errorFd), m_resultFd(resultFd) {}

  pid_t m_pid = -1;
  int m_errorFd = -1;
  int m_resultFd = -1;
};

}  // namespace qov
