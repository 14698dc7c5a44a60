#include "cli/OutputPattern.h"

#include <array>
#include <filesystem>
#include <string_view>

namespace qov {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 4> kFields{"dir", "stem", "name", "page"};

std::string FieldValue(std::string_view field, const fs::path& input, int page) {
  if (field == "dir")
    return input.has_parent_path() ? input.parent_path().string() : ".";
  if (field == "stem")
    return input.stem().string();
  if (field == "name")
    return input.filename().string();
  return std::to_string(page);
}

// "{{" and "}}" stand for a brace of the name itself.
bool IsEscapedBrace(const std::string& pattern, std::size_t at) {
  return (pattern[at] == '{' || pattern[at] == '}') && at + 1 < pattern.size() &&
         pattern[at + 1] == pattern[at];
}

}  // namespace

bool CheckOutputPattern(const std::string& pattern, std::string& error) {
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    if (IsEscapedBrace(pattern, at)) {
      ++at;
      continue;
    }
    if (pattern[at] == '}') {
      error = "a '}' without '{' in the output name " + pattern;
      return false;
    }
    if (pattern[at] != '{')
      continue;
    const std::size_t close = pattern.find('}', at);
    const std::string_view field = close == std::string::npos
                                       ? std::string_view{}
                                       : std::string_view(pattern).substr(at + 1, close - at - 1);
    bool known = false;
    for (std::string_view name : kFields)
      known = known || field == name;
    if (!known) {
      error =
          "unknown field in the output name " + pattern + " (known: {dir} {stem} {name} {page})";
      return false;
    }
    at = close;
  }
  return true;
}

std::string ExpandOutputPattern(const std::string& pattern, const std::string& input, int page,
                                const std::string& outputDir) {
  if (pattern == "-")
    return pattern;
  const fs::path inputPath(input);
  std::string result;
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    if (IsEscapedBrace(pattern, at)) {
      result += pattern[at++];
      continue;
    }
    const std::size_t close = pattern[at] == '{' ? pattern.find('}', at) : std::string::npos;
    if (close == std::string::npos) {
      result += pattern[at];
      continue;
    }
    result += FieldValue(std::string_view(pattern).substr(at + 1, close - at - 1), inputPath, page);
    at = close;
  }
  if (!outputDir.empty() && fs::path(result).is_relative())
    return (fs::path(outputDir) / result).string();
  return result;
}

std::string EscapeOutputName(const std::string& name) {
  std::string pattern;
  for (char c : name) {
    pattern += c;
    if (c == '{' || c == '}')
      pattern += c;
  }
  return pattern;
}

bool ExpandOutputs(std::vector<ConvertOperation>& operations, const std::string& input, int page,
                   const std::string& outputDir, std::string& error) {
  for (ConvertOperation& operation : operations) {
    if (!operation.WritesFile())
      continue;
    if (!CheckOutputPattern(operation.path, error))
      return false;
    operation.path = ExpandOutputPattern(operation.path, input, page, outputDir);
  }
  return true;
}

}  // namespace qov
