#pragma once
// The picture files that a run's INPUT arguments name.

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace qov {

// Every picture the arguments name, in the order given: a path as it is
// (whether or not it exists: a missing file fails when it is converted), a
// folder (only with `recursive`) as the picture files in it and its
// subfolders sorted by path, "@LISTFILE" as the paths in that file one a
// line (blank lines left out), and "-" as such a list read from `stdinList`. Null with `error` set
// when a list cannot be read, a folder cannot be walked or is given without
// `recursive`.
std::optional<std::vector<std::string>> ExpandInputs(const std::vector<std::string>& args,
                                                     bool recursive, std::istream& stdinList,
                                                     std::string& error);

// Whether a file's name ends in one of the picture extensions that a folder
// is searched for (in any case).
bool HasPictureExtension(const std::string& path);

}  // namespace qov
