#pragma once
// The command line of qov-convert: one input and the operations to run on
// it, in order. Everything is checked before the input is read.

#include <optional>
#include <string>
#include <vector>

namespace qov {

struct ConvertOperation {
  enum Kind {
    Threshold,
    Outline,
    Dither1,
    Dither2,
    ErrorDiffusion,
    SaveBmp,
    DxfCrosses,
    DxfLines,
    DxfTrace,
    VectorScript,
    VectorScriptAll,
  };
  Kind kind;
  int percent = 0;   // Threshold
  std::string path;  // the outputs; "-" is standard output

  bool WritesFile() const { return kind >= SaveBmp; }
};

struct ConvertOptions {
  bool help = false;
  bool version = false;
  std::string input;
  int page = 1;              // --page: of a multi-page picture, from 1
  double maxMegapixels = 0;  // --max-megapixels; 0: the memory available
  std::vector<ConvertOperation> operations;
};

struct ParsedOptions {
  std::optional<ConvertOptions> options;
  std::string error;  // the usage error when options is empty
};

ParsedOptions ParseConvertOptions(const std::vector<std::string>& args);

// The text of --help.
const char* ConvertUsage();

// The option that runs `kind` ("--dxf-trace"), for messages.
const char* OperationName(ConvertOperation::Kind kind);

}  // namespace qov
