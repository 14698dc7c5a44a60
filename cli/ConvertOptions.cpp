#include "cli/ConvertOptions.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace qov {
namespace {

// A parameter given on the command line, and whether an operation after it
// took it.
struct GivenParameter {
  std::string name;
  double value;
  bool taken;
};

const OperationRow* FindOperation(std::span<const OperationRow> table, const std::string& arg) {
  for (const OperationRow& row : table) {
    if (arg == row.option)
      return &row;
  }
  return nullptr;
}

const OperationParameter* FindParameter(std::span<const OperationRow> table,
                                        const std::string& arg) {
  for (const OperationRow& row : table) {
    for (const OperationParameter& parameter : row.parameters) {
      if (arg.starts_with("--") && arg.substr(2) == parameter.name)
        return &parameter;
    }
  }
  return nullptr;
}

// A whole decimal number from `low` to `high` and nothing else.
std::optional<int> ParseWhole(const std::string& text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

// The argument after args[i], stepping over it; null when there is none.
const std::string* OptionValue(const std::vector<std::string>& args, std::size_t& i) {
  if (i + 1 >= args.size())
    return nullptr;
  return &args[++i];
}

// "K/N" with 1 ≤ K ≤ N.
std::optional<Shard> ParseShard(const std::string& text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos)
    return std::nullopt;
  auto count = ParseWhole(text.substr(slash + 1), 1, 1 << 20);
  auto index = ParseWhole(text.substr(0, slash), 1, count.value_or(0));
  if (!count || !index)
    return std::nullopt;
  return Shard{*index, *count};
}

// The options of a run over many inputs. False when args[i] is none of them;
// true with `error` set when it is one but its value is wrong.
bool ParseRunOption(const std::vector<std::string>& args, std::size_t& i, ConvertOptions& options,
                    std::string& error) {
  const std::string& arg = args[i];
  bool* flag = arg == "--skip-existing" ? &options.skipExisting
               : arg == "--quiet"       ? &options.quiet
               : arg == "--recursive"   ? &options.recursive
                                        : nullptr;
  if (flag) {
    *flag = true;
    return true;
  }
  if (arg != "-j" && arg != "--jobs" && arg != "--report" && arg != "--output-dir" &&
      arg != "--shard") {
    return false;
  }
  const std::string* value = OptionValue(args, i);
  if (!value || value->empty()) {
    error = arg + " needs an argument";
  } else if (arg == "--report") {
    options.report = *value;
  } else if (arg == "--output-dir") {
    options.outputDir = *value;
  } else if (arg == "--shard") {
    options.shard = ParseShard(*value);
    if (!options.shard)
      error = "--shard takes K/N with 1 <= K <= N, not '" + *value + "'";
  } else {
    options.jobs = ParseWhole(*value, 1, 1024).value_or(0);
    if (options.jobs == 0)
      error = arg + " takes a number of jobs from 1 to 1024, not '" + *value + "'";
  }
  return true;
}

// --page N (a whole number from 1) and --max-megapixels N (a positive
// number): how the input is read. Empty when `arg` is neither; else the
// usage error, or "" when the value was taken.
std::optional<std::string> ParseReadOption(const std::vector<std::string>& args, std::size_t& i,
                                           ConvertOptions& options) {
  const std::string& arg = args[i];
  if (arg != "--page" && arg != "--max-megapixels")
    return std::nullopt;
  const std::string* text = OptionValue(args, i);
  if (!text)
    return arg + " needs an argument";
  const std::string& value = *text;
  const char* end = value.data() + value.size();
  if (arg == "--page") {
    auto [ptr, ec] = std::from_chars(value.data(), end, options.page);
    if (value.empty() || ec != std::errc() || ptr != end || options.page < 1)
      return "--page takes a page number from 1, not '" + value + "'";
    return std::string();
  }
  auto [ptr, ec] = std::from_chars(value.data(), end, options.maxMegapixels);
  if (value.empty() || ec != std::errc() || ptr != end || !(options.maxMegapixels > 0))
    return "--max-megapixels takes a positive number, not '" + value + "'";
  return std::string();
}

// `--NAME VALUE` for a parameter some operation declares: it holds for the
// operations after it. Empty when `arg` is none; else the usage error, or ""
// when the value was taken.
std::optional<std::string> ParseParameter(const std::vector<std::string>& args, std::size_t& i,
                                          std::span<const OperationRow> table,
                                          std::vector<GivenParameter>& given) {
  const std::string& arg = args[i];
  const OperationParameter* parameter = FindParameter(table, arg);
  if (!parameter)
    return std::nullopt;
  const std::string* text = OptionValue(args, i);
  if (!text)
    return arg + " needs an argument";
  double value = 0;
  const char* end = text->data() + text->size();
  auto [ptr, ec] = std::from_chars(text->data(), end, value);
  if (text->empty() || ec != std::errc() || ptr != end || !(value >= parameter->low) ||
      !(value <= parameter->high)) {
    char range[64];
    std::snprintf(range, sizeof range, "%g to %g", parameter->low, parameter->high);
    return arg + " takes a number from " + range + ", not '" + *text + "'";
  }
  std::erase_if(given, [&](const GivenParameter& g) { return g.name == parameter->name; });
  given.push_back({parameter->name, value, false});
  return std::string();
}

// The operation of `row` with its argument, args[i] being its option, and the
// parameters it declares as given so far; empty on success, else the error.
std::string ParseOperation(const std::vector<std::string>& args, std::size_t& i,
                           const OperationRow& row, std::vector<GivenParameter>& given,
                           std::vector<ConvertOperation>& operations) {
  ConvertOperation operation{row.kind, 0, {}, {}};
  for (const OperationParameter& parameter : row.parameters) {
    auto it = std::find_if(given.begin(), given.end(),
                           [&](const GivenParameter& g) { return g.name == parameter.name; });
    if (it != given.end())
      it->taken = true;
    operation.parameters.push_back(
        {parameter.name, it != given.end() ? it->value : parameter.fallback});
  }
  if (row.argument != OperationArgument::None) {
    const std::string* value = OptionValue(args, i);
    if (!value)
      return std::string(row.option) + " needs an argument";
    if (row.argument == OperationArgument::Percent) {
      auto percent = ParseWhole(*value, 0, 100);
      if (!percent)
        return std::string(row.option) + " takes an integer from 0 to 100, not '" + *value + "'";
      operation.percent = *percent;
    } else if (value->empty()) {
      return std::string(row.option) + " needs a file name";
    } else {
      operation.path = *value;
    }
  }
  operations.push_back(std::move(operation));
  return {};
}

// One line of the usage text: the option and its value, then what it does.
std::string UsageLine(const std::string& option, const char* value, const char* help) {
  std::string line = "  " + option + (value ? std::string(" ") + value : "");
  line.resize(std::max<std::size_t>(line.size() + 2, 27), ' ');
  return line + help + "\n";
}

// The usage lines of the operations that write a file, or of those that do
// not, each with the parameters it is the first to declare.
std::string OperationUsage(bool outputs) {
  std::string text;
  std::vector<std::string> shown;
  for (const OperationRow& row : OperationTable()) {
    const char* value = row.argument == OperationArgument::Percent ? "P"
                        : row.argument == OperationArgument::File  ? "FILE"
                                                                   : nullptr;
    if (row.WritesFile() == outputs)
      text += UsageLine(row.option, value, row.help);
    for (const OperationParameter& parameter : row.parameters) {
      if (row.WritesFile() != outputs || std::ranges::count(shown, parameter.name))
        continue;
      shown.emplace_back(parameter.name);
      text += UsageLine(std::string("--") + parameter.name, parameter.valueName, parameter.help);
    }
  }
  return text;
}

}  // namespace

const char* OperationName(ConvertOperation::Kind kind) {
  return OperationRowOf(kind).option;
}

bool ConvertOptions::IsSingle() const {
  return inputs.size() == 1 && inputs[0] != "-" && inputs[0][0] != '@' && jobs == 0 &&
         report.empty() && outputDir.empty() && !shard && !skipExisting && !quiet && !recursive;
}

ParsedOptions ParseConvertOptions(const std::vector<std::string>& args,
                                  std::span<const OperationRow> table) {
  ConvertOptions options;
  std::vector<GivenParameter> given;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return {options, {}};
    }
    if (arg == "--version") {
      options.version = true;
      return {options, {}};
    }
    std::optional<std::string> error = ParseReadOption(args, i, options);
    if (!error)
      error = ParseParameter(args, i, table, given);
    if (std::string runError; !error && ParseRunOption(args, i, options, runError))
      error = runError;
    if (const OperationRow* row = error ? nullptr : FindOperation(table, arg))
      error = ParseOperation(args, i, *row, given, options.operations);
    if (error && !error->empty())
      return {std::nullopt, *error};
    if (error)
      continue;
    if (arg.size() > 1 && arg[0] == '-')
      return {std::nullopt, "unknown option " + arg};
    if (arg.empty() || arg == "@")
      return {std::nullopt, "an empty input name"};
    options.inputs.push_back(arg);
  }
  for (const GivenParameter& parameter : given) {
    if (!parameter.taken)
      return {std::nullopt, "--" + parameter.name + " is followed by no operation that takes it"};
  }
  if (options.inputs.empty())
    return {std::nullopt, "no input file"};
  return {options, {}};
}

std::string ConvertUsage() {
  return std::string(R"(Usage: qov-convert INPUT [--page N] [--max-megapixels N] [OPERATION]...
       qov-convert [RUN OPTION]... INPUT... OPERATION...

Opens a picture and runs the operations in the order given, exactly as the
desktop program's menu commands do. The picture may be a Windows bitmap (1,
4, 8, 16, 24 or 32 bits per pixel, uncompressed or run-length encoded), a
TIFF, PNG, JPEG or PNM (PBM, PGM, PPM) file; its first bytes tell which.

Reading:
  --page N                 the page of a multi-page TIFF to open (from 1)
  --max-megapixels N       refuse pictures of more than N million pixels
                           (default: what the available memory holds)

Raster operations (change the picture in place):
)") + OperationUsage(false) +
         R"(
Outputs (the picture is not changed):
)" + OperationUsage(true) +
         R"(
FILE may be "-" for standard output, and a pattern: {dir} the input's
folder, {stem} its name without extension, {name} its name, {page} the page;
{{ and }} are braces of the name. Input names are never patterns.
--version prints the version.

Many inputs: INPUT may be a file, a folder (with --recursive), @LISTFILE
(one path a line, blank lines skipped) or - (such a list on standard input).
Each input is converted in a process of its own; one that fails does not stop
the others.
  -j, --jobs N             N inputs at a time (default: one per core)
  --recursive              take the pictures in folders and their subfolders
  --output-dir DIR         relative output names are taken inside DIR
  --skip-existing          skip an input whose outputs are all there and
                           not older than it (resumes an interrupted run)
  --shard K/N              only every N-th input, from the K-th (K = 1..N)
  --report FILE            one JSON object a line for each input; names that
                           are not UTF-8 also as bytes, % and stray bytes %XX
  --quiet                  no progress line on a terminal
Outputs are written under a temporary name and renamed when complete. Two
inputs that would write the same file (standard output included), an output
that would replace an input, or a report that would be an input or an output,
are a usage error before anything runs.

Exit status with one input and no run option: 0 done; 1 the input is not a
readable picture (reason on stderr); 2 usage error; 3 an output could not be
written (reason on stderr).
Exit status otherwise: 0 every input done (or skipped); 2 usage error; 4 some
inputs failed (skipped ones count as done); 5 every input failed; 130
interrupted.
)";
}

}  // namespace qov
