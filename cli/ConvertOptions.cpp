#include "cli/ConvertOptions.h"

#include <array>
#include <charconv>

namespace qov {
namespace {

struct OptionInfo {
  const char* name;
  ConvertOperation::Kind kind;
};

constexpr std::array<OptionInfo, 11> kOptions{{
    {"--threshold", ConvertOperation::Threshold},
    {"--outline", ConvertOperation::Outline},
    {"--dither1", ConvertOperation::Dither1},
    {"--dither2", ConvertOperation::Dither2},
    {"--error-diffusion", ConvertOperation::ErrorDiffusion},
    {"--save-bmp", ConvertOperation::SaveBmp},
    {"--dxf-crosses", ConvertOperation::DxfCrosses},
    {"--dxf-lines", ConvertOperation::DxfLines},
    {"--dxf-trace", ConvertOperation::DxfTrace},
    {"--vectorscript", ConvertOperation::VectorScript},
    {"--vectorscript-all", ConvertOperation::VectorScriptAll},
}};

const OptionInfo* FindOption(const std::string& arg) {
  for (const auto& option : kOptions) {
    if (arg == option.name)
      return &option;
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

}  // namespace

const char* OperationName(ConvertOperation::Kind kind) {
  for (const auto& option : kOptions) {
    if (option.kind == kind)
      return option.name;
  }
  return "?";
}

bool ConvertOptions::IsSingle() const {
  return inputs.size() == 1 && inputs[0] != "-" && inputs[0][0] != '@' && jobs == 0 &&
         report.empty() && outputDir.empty() && !shard && !skipExisting && !quiet && !recursive;
}

ParsedOptions ParseConvertOptions(const std::vector<std::string>& args) {
  ConvertOptions options;
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
    if (auto error = ParseReadOption(args, i, options)) {
      if (!error->empty())
        return {std::nullopt, *error};
      continue;
    }
    std::string error;
    if (ParseRunOption(args, i, options, error)) {
      if (!error.empty())
        return {std::nullopt, error};
      continue;
    }
    const OptionInfo* option = FindOption(arg);
    if (!option) {
      if (arg.size() > 1 && arg[0] == '-')
        return {std::nullopt, "unknown option " + arg};
      if (arg.empty() || arg == "@")
        return {std::nullopt, "an empty input name"};
      options.inputs.push_back(arg);
      continue;
    }
    ConvertOperation operation{option->kind, 0, {}};
    if (option->kind == ConvertOperation::Threshold || operation.WritesFile()) {
      const std::string* value = OptionValue(args, i);
      if (!value)
        return {std::nullopt, std::string(arg) + " needs an argument"};
      if (option->kind == ConvertOperation::Threshold) {
        auto percent = ParseWhole(*value, 0, 100);
        if (!percent) {
          return {std::nullopt, "--threshold takes an integer from 0 to 100, not '" + *value + "'"};
        }
        operation.percent = *percent;
      } else {
        if (value->empty())
          return {std::nullopt, std::string(arg) + " needs a file name"};
        operation.path = *value;
      }
    }
    options.operations.push_back(operation);
  }
  if (options.inputs.empty())
    return {std::nullopt, "no input file"};
  return {options, {}};
}

const char* ConvertUsage() {
  return R"(Usage: qov-convert INPUT [--page N] [--max-megapixels N] [OPERATION]...
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
  --threshold P            simple binarization at P percent (0 to 100)
  --outline                reduce black areas to their outlines
  --dither1                3 x 3 ordered dither, black and white
  --dither2                2 x 2 ordered dither, black, grey and white
  --error-diffusion        one-dimensional error diffusion

Outputs (the picture is not changed):
  --save-bmp FILE          save the current picture as a 24-bit .bmp
  --dxf-crosses FILE       DXF: every dark pixel as a cross
  --dxf-lines FILE         DXF: touching dark pixels joined by lines
  --dxf-trace FILE         DXF: outlines traced into runs (auto trace)
  --vectorscript FILE      VectorScript, near-white colours left out
  --vectorscript-all FILE  VectorScript, every colour written

FILE may be "-" for standard output, and a pattern: {dir} the input's
folder, {stem} its name without extension, {name} its name, {page} the page.
--version prints the version.

Many inputs: INPUT may be a file, a folder (with --recursive), @LISTFILE
(one path a line) or - (such a list on standard input). Each input is converted
in a process of its own; one that fails does not stop the others.
  -j, --jobs N             N inputs at a time (default: one per core)
  --recursive              take the pictures in folders and their subfolders
  --output-dir DIR         relative output names are taken inside DIR
  --skip-existing          skip an input whose outputs are all there and
                           not older than it (resumes an interrupted run)
  --shard K/N              only every N-th input, from the K-th (K = 1..N)
  --report FILE            one JSON object a line for each input
  --quiet                  no progress line on a terminal
Outputs are written under a temporary name and renamed when complete. Two
inputs that would write the same file, or an output that would replace an
input, are a usage error before anything runs.

Exit status with one input and no run option: 0 done; 1 the input is not a
readable picture (reason on stderr); 2 usage error; 3 an output could not be
written (reason on stderr).
Exit status otherwise: 0 every input done (or skipped); 2 usage error; 4 some
inputs failed; 5 every input failed; 130 interrupted.
)";
}

}  // namespace qov
