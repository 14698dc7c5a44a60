#include "cli/Batch.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <list>
#include <thread>

#include "cli/BatchPlan.h"
#include "cli/BatchReport.h"
#include "cli/BatchResult.h"
#include "cli/ChildProcess.h"
#include "cli/InputList.h"
#include "cli/InterruptPipe.h"
#include "cli/JobMemory.h"
#include "cli/OutputPattern.h"
#include "cli/PartFile.h"
#include "cli/ProgressLine.h"
#include "image/MemoryBudget.h"

namespace qov {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A path the one-picture form cannot take for an option or a list.
std::string PlainInput(const std::string& input) {
  return input[0] == '-' || input[0] == '@' ? "./" + input : input;
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
}

class BatchRun {
 public:
  BatchRun(const ConvertOptions& options, const std::string& program, std::vector<BatchJob> jobs,
           BatchReport& report, std::ostream& err, bool terminal)
      : m_options(options),
        m_program(program),
        m_jobs(std::move(jobs)),
        m_report(report),
        m_progress(err, terminal && !options.quiet, m_jobs.size()),
        // An eighth stays for everything else the machine runs.
        m_budget(AvailableMemoryBytes() / 8 * 7) {}

  BatchExit Run() {
    const unsigned cores = std::thread::hardware_concurrency();
    const std::size_t jobs = static_cast<std::size_t>(
        m_options.jobs > 0 ? m_options.jobs : static_cast<int>(cores ? cores : 1));
    InterruptPipe interrupt;
    while (m_next < m_jobs.size() || !m_running.empty()) {
      while (m_next < m_jobs.size() && m_running.size() < jobs && StartNext()) {
      }
      m_progress.Update(m_finished, m_current);
      if (!Wait(interrupt.fd()))
        return Interrupt();
    }
    m_progress.Finish();
    if (!m_options.quiet) {
      m_progress.Print("qov-convert: " + std::to_string(m_done) + " done, " +
                       std::to_string(m_failed) + " failed, " + std::to_string(m_skipped) +
                       " skipped");
    }
    if (m_failed == 0)
      return kBatchAllDone;
    return m_done + m_skipped == 0 ? kBatchAllFailed : kBatchSomeFailed;
  }

 private:
  struct Running {
    std::size_t job;
    ChildProcess child;
    std::vector<std::pair<std::string, std::string>> parts;  // (part name, final name)
    Clock::time_point start;
    std::uint64_t bytes;
  };

  // Starts (or skips) the next input; false when the memory it needs must
  // wait for a running one to end.
  bool StartNext() {
    const BatchJob& job = m_jobs[m_next];
    if (m_options.skipExisting && IsUpToDate(job)) {
      Record(JobRecord{job.input, job.Outputs(), JobRecord::Skipped, {}, 0, 0});
      ++m_skipped;
      ++m_next;
      return true;
    }
    const std::uint64_t bytes = EstimateJobBytes(job.input);
    if (!m_running.empty() && m_budget != 0 && m_inFlight + bytes > m_budget)
      return false;
    const Clock::time_point start = Clock::now();
    std::vector<std::pair<std::string, std::string>> parts;
    std::vector<std::string> argv{m_program, PlainInput(job.input), "--page",
                                  std::to_string(m_options.page)};
    if (m_options.maxMegapixels > 0) {
      argv.push_back("--max-megapixels");
      argv.push_back(std::to_string(m_options.maxMegapixels));
    }
    for (const ConvertOperation& operation : job.operations)
      AddArguments(operation, argv, parts);
    std::string error;
    std::optional<ChildProcess> child = ChildProcess::Start(argv, error);
    if (!child) {
      Fail(Running{m_next++, {}, std::move(parts), start, 0}, error);
      return true;
    }
    m_inFlight += bytes;
    m_current = job.input;
    m_running.push_back(Running{m_next++, std::move(*child), std::move(parts), start, bytes});
    return true;
  }

  static void AddArguments(const ConvertOperation& operation, std::vector<std::string>& argv,
                           std::vector<std::pair<std::string, std::string>>& parts) {
    std::string path = operation.path;
    if (operation.WritesFile() && path != "-") {
      std::error_code ignored;
      fs::create_directories(fs::path(path).parent_path(), ignored);
      parts.emplace_back(PartName(path), path);
      // The one-picture form takes its outputs for patterns; the names of
      // the inputs are data.
      path = EscapeOutputName(parts.back().first);
    }
    const std::vector<std::string> args = OperationArguments(operation, path);
    argv.insert(argv.end(), args.begin(), args.end());
  }

  // Waits for a child's message or end, or an interrupt; false on the latter.
  bool Wait(int interruptFd) {
    std::vector<pollfd> fds{{interruptFd, POLLIN, 0}};
    for (const Running& running : m_running)
      fds.push_back({running.child.ErrorFd(), POLLIN, 0});
    if (poll(fds.data(), fds.size(), 100) < 0)
      return errno == EINTR;
    if (fds[0].revents != 0)
      return false;
    auto running = m_running.begin();
    for (std::size_t i = 1; i < fds.size(); ++i) {
      if (fds[i].revents != 0 && !running->child.ReadError()) {
        Finish(*running);
        running = m_running.erase(running);
      } else {
        ++running;
      }
    }
    return true;
  }

  void Finish(Running& running) {
    const ChildProcess::Ending ending = running.child.Wait();
    m_inFlight -= running.bytes;
    if (ending.exitStatus != 0) {
      Fail(running, FailureReason(running, ending), ending.peakBytes);
      return;
    }
    for (const auto& [part, output] : running.parts) {
      if (rename(part.c_str(), output.c_str()) != 0) {
        Fail(running, output + ": " + std::strerror(errno), ending.peakBytes);
        return;
      }
    }
    ++m_done;
    Record(Outcome(running, JobRecord::Done, {}, ending.peakBytes));
  }

  // The signal that ended a child, or the reason its record gives, with the
  // outputs under their own names rather than the part names it wrote.
  static std::string FailureReason(const Running& running, const ChildProcess::Ending& ending) {
    if (ending.signal) {
      return "ended by signal " + std::to_string(ending.signal) + " (" + strsignal(ending.signal) +
             ")";
    }
    const std::optional<BatchResult> result = ParseBatchResult(ending.result);
    if (!result)
      return "ended with status " + std::to_string(ending.exitStatus) + " and no result";
    std::string reason = result->reason;
    for (const auto& [part, output] : running.parts)
      Replace(reason, part, output);
    return reason;
  }

  void Fail(const Running& running, const std::string& reason, std::uint64_t peakBytes = 0) {
    for (const auto& part : running.parts)
      unlink(part.first.c_str());
    ++m_failed;
    const std::string& input = m_jobs[running.job].input;
    m_progress.Print("qov-convert: " + input + ": " + reason);
    Record(Outcome(running, JobRecord::Failed, reason, peakBytes));
  }

  JobRecord Outcome(const Running& running, JobRecord::Status status, const std::string& reason,
                    std::uint64_t peakBytes) const {
    const BatchJob& job = m_jobs[running.job];
    const double seconds = std::chrono::duration<double>(Clock::now() - running.start).count();
    return JobRecord{job.input, job.Outputs(), status, reason, seconds, peakBytes};
  }

  void Record(const JobRecord& record) {
    ++m_finished;
    m_report.Write(record);
    m_progress.Update(m_finished, m_current, true);
  }

  BatchExit Interrupt() {
    for (Running& running : m_running)
      running.child.Terminate();
    for (Running& running : m_running) {
      while (running.child.ReadError()) {
      }
      running.child.Wait();
      for (const auto& part : running.parts)
        unlink(part.first.c_str());
    }
    m_running.clear();
    m_progress.Print("qov-convert: interrupted");
    return kBatchInterrupted;
  }

  const ConvertOptions& m_options;
  const std::string& m_program;
  std::vector<BatchJob> m_jobs;
  BatchReport& m_report;
  ProgressLine m_progress;
  std::uint64_t m_budget;
  std::uint64_t m_inFlight = 0;
  std::list<Running> m_running;
  std::size_t m_next = 0;
  std::size_t m_finished = 0, m_done = 0, m_failed = 0, m_skipped = 0;
  std::string m_current;
};

}  // namespace

BatchExit RunBatch(const ConvertOptions& options, const std::string& program,
                   std::istream& stdinList, std::ostream& err, bool terminal) {
  std::string error;
  auto inputs = ExpandInputs(options.inputs, options.recursive, stdinList, error);
  auto jobs = inputs ? PlanBatch(options, *inputs, error) : std::nullopt;
  auto report = jobs ? BatchReport::Open(options.report, error) : std::nullopt;
  if (!report) {
    err << "qov-convert: " << error << "\nTry 'qov-convert --help'.\n";
    return kBatchUsage;
  }
  std::vector<std::string> outputs;
  for (const BatchJob& job : *jobs) {
    const std::vector<std::string> written = job.Outputs();
    outputs.insert(outputs.end(), written.begin(), written.end());
  }
  RemoveStaleParts(outputs);
  return BatchRun(options, program, std::move(*jobs), *report, err, terminal).Run();
}

}  // namespace qov
