#include "cli/InputList.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/PictureExtensions.h"

namespace qov {
namespace {

namespace fs = std::filesystem;

bool ReadList(std::istream& in, std::vector<std::string>& paths) {
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.find_first_not_of(" \t\v\f") != std::string::npos)
      paths.push_back(line);
  }
  return !in.bad();
}

bool AddFolder(const fs::path& folder, std::vector<std::string>& paths, std::string& error) {
  std::error_code ec;
  std::vector<std::string> found;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ignored;
    if (it->is_regular_file(ignored) && HasPictureExtension(it->path().string()))
      found.push_back(it->path().string());
  }
  if (ec) {
    error = folder.string() + ": " + ec.message();
    return false;
  }
  std::sort(found.begin(), found.end());
  paths.insert(paths.end(), found.begin(), found.end());
  return true;
}

}  // namespace

bool HasPictureExtension(const std::string& path) {
  std::string extension = fs::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  // Only the choice of which files of a folder to try goes by name, so that
  // outputs written beside the pictures (.dxf, .txt) are never taken for
  // inputs; the kind is decided by the first bytes.
  return std::any_of(kPictureExtensions.begin(), kPictureExtensions.end(),
                     [&](const PictureExtension& known) {
                       return extension.size() > 1 && extension.substr(1) == known.suffix;
                     });
}

std::optional<std::vector<std::string>> ExpandInputs(const std::vector<std::string>& args,
                                                     bool recursive, std::istream& stdinList,
                                                     std::string& error) {
  std::vector<std::string> paths;
  for (const std::string& arg : args) {
    std::error_code ec;
    if (arg == "-") {
      if (!ReadList(stdinList, paths)) {
        error = "cannot read the list of inputs on standard input";
        return std::nullopt;
      }
    } else if (arg[0] == '@') {
      std::ifstream list(arg.substr(1));
      if (!list || !ReadList(list, paths)) {
        error = "cannot read the list of inputs " + arg.substr(1);
        return std::nullopt;
      }
    } else if (fs::is_directory(arg, ec)) {
      if (!recursive) {
        error = arg + " is a folder: --recursive converts the pictures in it and its subfolders";
        return std::nullopt;
      }
      if (!AddFolder(arg, paths, error))
        return std::nullopt;
    } else {
      paths.push_back(arg);
    }
  }
  return paths;
}

}  // namespace qov
