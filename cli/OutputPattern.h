#pragma once
// Output names made from a pattern for each input of a run.

#include <string>
#include <vector>

#include "cli/ConvertOptions.h"

namespace qov {

// Whether `pattern` holds only the known fields ({dir}, {stem}, {name},
// {page}), braces doubled ("{{" and "}}" for "{" and "}") and no stray brace;
// otherwise `error` says what is wrong.
bool CheckOutputPattern(const std::string& pattern, std::string& error);

// The output that a checked `pattern` names for `input` ({dir} its folder or
// "." when it has none, {stem} its name without the extension, {name} its
// name, {page} the page number), taken inside `outputDir` when that is set
// and the result is relative. "-" (standard output) stays "-".
std::string ExpandOutputPattern(const std::string& pattern, const std::string& input, int page,
                                const std::string& outputDir);

// The pattern that names `name` itself, whatever braces it holds.
std::string EscapeOutputName(const std::string& name);

// Every output of `operations` expanded for `input`; false with `error` set
// when a pattern is malformed.
bool ExpandOutputs(std::vector<ConvertOperation>& operations, const std::string& input, int page,
                   const std::string& outputDir, std::string& error);

}  // namespace qov
