#include "cli/BatchPlan.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "cli/FileIdentity.h"
#include "cli/OutputPattern.h"

namespace qov {
namespace {

namespace fs = std::filesystem;

using FileNames = std::map<std::string, const std::string*>;

// The report is written before the first input ends, so it must be none of
// the files the run reads or writes.
bool CheckReport(const std::string& report, const FileNames& inputs, const FileNames& writers,
                 std::string& error) {
  const std::string key = FileIdentity(report);
  if (auto input = inputs.find(key); input != inputs.end()) {
    error = "the report " + report + " would replace the input " + *input->second;
    return false;
  }
  if (auto writer = writers.find(key); writer != writers.end()) {
    error = "the input " + *writer->second + " would write the report " + report;
    return false;
  }
  return true;
}

// Pictures of two inputs on standard output would run into each other.
bool CheckStandardOutput(const std::vector<BatchJob>& jobs, std::string& error) {
  const std::string* writer = nullptr;
  for (const BatchJob& job : jobs) {
    const bool writes = std::any_of(job.operations.begin(), job.operations.end(),
                                    [](const ConvertOperation& operation) {
                                      return operation.WritesFile() && operation.path == "-";
                                    });
    if (writes && writer) {
      error =
          "the inputs " + *writer + " and " + job.input + " would both write - (standard output)";
      return false;
    }
    writer = writes ? &job.input : writer;
  }
  return true;
}

}  // namespace

std::vector<std::string> BatchJob::Outputs() const {
  std::vector<std::string> outputs;
  for (const ConvertOperation& operation : operations) {
    if (operation.WritesFile() && operation.path != "-")
      outputs.push_back(operation.path);
  }
  return outputs;
}

bool CheckCollisions(const std::vector<BatchJob>& jobs, const std::string& report,
                     std::string& error) {
  FileNames inputs, writers;
  for (const BatchJob& job : jobs) {
    if (!inputs.emplace(FileIdentity(job.input), &job.input).second) {
      error = "the input " + job.input + " is named twice";
      return false;
    }
  }
  for (const BatchJob& job : jobs) {
    for (const std::string& output : job.Outputs()) {
      const std::string key = FileIdentity(output);
      if (auto input = inputs.find(key); input != inputs.end()) {
        error = "the output " + output + " would replace the input " + *input->second;
        return false;
      }
      auto [it, fresh] = writers.emplace(key, &job.input);
      if (!fresh && it->second != &job.input) {
        error = "the inputs " + *it->second + " and " + job.input + " would both write " + output;
        return false;
      }
    }
  }
  return CheckStandardOutput(jobs, error) &&
         (report.empty() || CheckReport(report, inputs, writers, error));
}

std::optional<std::vector<BatchJob>> PlanBatch(const ConvertOptions& options,
                                               const std::vector<std::string>& inputs,
                                               std::string& error) {
  std::vector<BatchJob> jobs;
  for (const std::string& input : inputs) {
    BatchJob job{input, options.operations};
    if (!ExpandOutputs(job.operations, input, options.page, options.outputDir, error))
      return std::nullopt;
    jobs.push_back(std::move(job));
  }
  if (!CheckCollisions(jobs, options.report, error))
    return std::nullopt;
  if (!options.shard)
    return jobs;
  std::vector<BatchJob> share;
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    if (i % static_cast<std::size_t>(options.shard->count) ==
        static_cast<std::size_t>(options.shard->index - 1)) {
      share.push_back(std::move(jobs[i]));
    }
  }
  return share;
}

bool IsUpToDate(const BatchJob& job) {
  const std::vector<std::string> outputs = job.Outputs();
  std::error_code ec;
  const fs::file_time_type inputTime = fs::last_write_time(job.input, ec);
  if (outputs.empty() || ec)
    return false;
  for (const std::string& output : outputs) {
    const fs::file_time_type outputTime = fs::last_write_time(output, ec);
    if (ec || !fs::is_regular_file(output, ec) || outputTime < inputTime)
      return false;
  }
  return true;
}

}  // namespace qov
