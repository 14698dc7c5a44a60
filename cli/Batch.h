#pragma once
// qov-convert over many inputs: each converted by a qov-convert of its own in
// the one-picture form, several at a time, with a progress line, a report,
// and outputs that appear under their names only when complete.

#include <istream>
#include <ostream>

#include "cli/ConvertOptions.h"

namespace qov {

enum BatchExit {
  kBatchAllDone = 0,  // every input converted or skipped as up to date
  kBatchUsage = 2,
  kBatchSomeFailed = 4,
  kBatchAllFailed = 5,
  kBatchInterrupted = 130,
};

// Runs `options` over its inputs; `program` is the qov-convert to start for
// each of them, `stdinList` the list that "-" reads, `err` gets failures and
// (when `terminal` and not quiet) the progress line.
BatchExit RunBatch(const ConvertOptions& options, const std::string& program,
                   std::istream& stdinList, std::ostream& err, bool terminal);

}  // namespace qov
