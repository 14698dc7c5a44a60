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

// A whole decimal number from 0 to 100 and nothing else.
std::optional<int> ParsePercent(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < 0 || value > 100) {
    return std::nullopt;
  }
  return value;
}

// --page N (a whole number from 1) and --max-megapixels N (a positive
// number): how the input is read. Empty when `arg` is neither; else the
// usage error, or "" when the value was taken.
std::optional<std::string> ParseReadOption(const std::vector<std::string>& args, std::size_t& i,
                                           ConvertOptions& options) {
  const std::string& arg = args[i];
  if (arg != "--page" && arg != "--max-megapixels")
    return std::nullopt;
  if (i + 1 >= args.size())
    return arg + " needs an argument";
  const std::string& value = args[++i];
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
    const OptionInfo* option = FindOption(arg);
    if (!option) {
      if (arg.size() > 1 && arg[0] == '-')
        return {std::nullopt, "unknown option " + arg};
      if (!options.input.empty())
        return {std::nullopt, "more than one input: " + arg};
      options.input = arg;
      continue;
    }
    ConvertOperation operation{option->kind, 0, {}};
    if (option->kind == ConvertOperation::Threshold || operation.WritesFile()) {
      if (i + 1 >= args.size())
        return {std::nullopt, std::string(arg) + " needs an argument"};
      const std::string& value = args[++i];
      if (option->kind == ConvertOperation::Threshold) {
        auto percent = ParsePercent(value);
        if (!percent) {
          return {std::nullopt, "--threshold takes an integer from 0 to 100, not '" + value + "'"};
        }
        operation.percent = *percent;
      } else {
        if (value.empty())
          return {std::nullopt, std::string(arg) + " needs a file name"};
        operation.path = value;
      }
    }
    options.operations.push_back(operation);
  }
  if (options.input.empty())
    return {std::nullopt, "no input file"};
  return {options, {}};
}

const char* ConvertUsage() {
  return R"(Usage: qov-convert INPUT [--page N] [--max-megapixels N] [OPERATION]...

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

FILE may be "-" for standard output. --version prints the version.

Exit status: 0 done; 1 the input is not a readable picture (reason on stderr);
2 usage error; 3 an output could not be written (reason on stderr).
)";
}

}  // namespace qov
