#pragma once
// The operations of qov-convert, one row each: the menu command it runs, its
// option and argument, the dialog answers it gives, and its line of --help.
// The parsing, the usage text, the conversion and the arguments a run over
// many inputs passes to each input's process all come from this table, so an
// operation is added by adding its kind and its row.

#include <span>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace qov {

class CDialog;
class CQOV_V2Doc;

// A named number an operation's dialog takes, given as `--NAME VALUE` before
// the operation; it holds for every later operation that declares it. A row
// lists the ones it takes, and its answer reads them from the operation:
//   constexpr OperationParameter kVectorize[] = {{"dpi", "N", 50, 2400, 300, "..."}};
//   ... dlg.m_nDpi = static_cast<int>(operation.Parameter("dpi"));
struct OperationParameter {
  const char* name;       // the option without its dashes
  const char* valueName;  // in the usage text ("N")
  double low;
  double high;
  double fallback;  // when the command line does not give it
  const char* help;
};

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
    DxfVectorize,
    kKindCount
  };
  struct ParameterValue {
    std::string name;
    double value;
    bool operator==(const ParameterValue&) const = default;
  };
  Kind kind;
  int percent = 0;   // Threshold
  std::string path;  // the outputs; "-" is standard output
  // Every parameter its row declares, as the command line left it.
  std::vector<ParameterValue> parameters = {};

  bool WritesFile() const;
  // The value of a parameter its row declares.
  double Parameter(const std::string& name) const;
};

enum class OperationArgument { None, Percent, File };

struct OperationRow {
  ConvertOperation::Kind kind;
  const char* option;
  // The menu command it runs; ID_FILE_SAVE_AS for the document's own save,
  // which no view command does.
  UINT command;
  OperationArgument argument;  // a File operation writes that file and leaves the picture
  // Sets the fields of the command's dialog before it opens; null when the
  // command has no dialog or its defaults are the answer.
  void (*answer)(CDialog& dlg, const ConvertOperation& operation);
  const char* help;
  std::span<const OperationParameter> parameters = {};
  // A warning about an output written as asked but not as well as it could
  // be (empty: none); null when the operation has none to give.
  const char* (*warning)(const CQOV_V2Doc& doc, const ConvertOperation& operation) = nullptr;

  bool WritesFile() const { return argument == OperationArgument::File; }
};

// Every operation, in kind order.
std::span<const OperationRow> OperationTable();

const OperationRow& OperationRowOf(ConvertOperation::Kind kind);

// The commands of the window's ツール menu that qov-convert does not run.
std::span<const UINT> WindowOnlyCommands();

// The arguments that run `operation` in a qov-convert of its own, writing
// `path` instead of its output: its parameters, its option and its argument.
std::vector<std::string> OperationArguments(const ConvertOperation& operation,
                                            const std::string& path);

}  // namespace qov
