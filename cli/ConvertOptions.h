#pragma once
// The command line of qov-convert: the inputs, the operations to run on each
// of them in order, and how a run over many inputs goes. Everything is
// checked before an input is read.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/Operations.h"

namespace qov {

// Every N-th input from the K-th on (K counted from 1), so that N runs of the
// same command share the work without talking to each other.
struct Shard {
  int index = 1;
  int count = 1;
};

struct ConvertOptions {
  bool help = false;
  bool version = false;
  std::vector<std::string> inputs;  // paths, folders, @LISTFILE, "-" (a list on stdin)
  int page = 1;                     // --page: of a multi-page picture, from 1
  double maxMegapixels = 0;         // --max-megapixels; 0: the memory available
  std::vector<ConvertOperation> operations;

  // Runs over many inputs.
  int jobs = 0;  // 0: one a core
  std::string report;
  std::string outputDir;
  std::optional<Shard> shard;
  bool skipExisting = false;
  bool quiet = false;
  bool recursive = false;

  // One picture file and nothing that only a run over many inputs means: the
  // form scripts have always used, with its own exit statuses.
  bool IsSingle() const;
};

struct ParsedOptions {
  std::optional<ConvertOptions> options;
  std::string error;  // the usage error when options is empty
};

// The options in `args`, with the operations of `table`.
ParsedOptions ParseConvertOptions(const std::vector<std::string>& args,
                                  std::span<const OperationRow> table = OperationTable());

// The text of --help.
std::string ConvertUsage();

// The option that runs `kind` ("--dxf-trace"), for messages.
const char* OperationName(ConvertOperation::Kind kind);

}  // namespace qov
