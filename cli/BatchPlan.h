#pragma once
// What a run over many inputs will do, decided and checked before anything
// runs: each input with its outputs, and this run's share of them.

#include <optional>
#include <string>
#include <vector>

#include "cli/ConvertOptions.h"

namespace qov {

struct BatchJob {
  std::string input;
  // The operations with their output names worked out for this input.
  std::vector<ConvertOperation> operations;

  // The files this job writes ("-" left out).
  std::vector<std::string> Outputs() const;
};

// The jobs for `inputs` (already expanded) under `options`, in input order
// and narrowed to the options' shard. Null with `error` set when the output
// patterns are malformed or the files collide (CheckCollisions): all of that
// holds for the whole list, whichever shard runs, so every shard refuses the
// same run.
std::optional<std::vector<BatchJob>> PlanBatch(const ConvertOptions& options,
                                               const std::vector<std::string>& inputs,
                                               std::string& error);

// Whether `jobs` name each input once, write each output (standard output
// included) from one input only, replace no input and leave `report` (when
// set) to the report alone; false
// with `error` saying which files collide.
bool CheckCollisions(const std::vector<BatchJob>& jobs, const std::string& report,
                     std::string& error);

// Whether every output of `job` exists and is not older than its input, so
// that a resumed run may leave it alone. A job with no outputs never is.
bool IsUpToDate(const BatchJob& job);

}  // namespace qov
