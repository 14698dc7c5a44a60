#pragma once
// The machine-readable account of a run over many inputs: one JSON object a
// line, one line for each input as it ends, so that a pipeline can follow a
// run and an interrupted run's report still holds what was done.

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace qov {

struct JobRecord {
  enum Status { Done, Failed, Skipped };
  std::string input;
  std::vector<std::string> outputs;
  Status status = Done;
  std::string reason;  // empty unless failed
  double seconds = 0;
  std::uint64_t peakBytes = 0;  // the converting process's largest resident set
};

// `text` as a JSON string, quotes included; bytes that are not UTF-8 become
// U+FFFD so that the line stays valid JSON.
std::string JsonString(const std::string& text);

// A file name's exact bytes as UTF-8 text: '%' and every byte that is not
// part of a UTF-8 character written as %XX (two upper-case hex digits), as
// percent-decoding reads them back.
std::string NameBytes(const std::string& name);

// The record as one line of JSON, without the line feed. A name that is not
// UTF-8 (shown with U+FFFD) has its NameBytes beside it: "input_bytes", and
// "outputs_bytes" (every output, in order) when an output is not UTF-8.
std::string FormatJobRecord(const JobRecord& record);

class BatchReport {
 public:
  // Writes nothing when `path` is empty.
  static std::optional<BatchReport> Open(const std::string& path, std::string& error);

  void Write(const JobRecord& record);

 private:
  BatchReport() = default;
  std::ofstream m_file;
};

}  // namespace qov
