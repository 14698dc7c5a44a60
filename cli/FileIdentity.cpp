#include "cli/FileIdentity.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace qov {
namespace {

namespace fs = std::filesystem;

bool Inode(const fs::path& path, std::string& key) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0)
    return false;
  key = "#" + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
  return true;
}

}  // namespace

std::string FileIdentity(const std::string& path) {
  std::string key;
  if (Inode(path, key))
    return key;
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  absolute = (ec ? fs::path(path) : absolute).lexically_normal();
  if (absolute.has_filename() && Inode(absolute.parent_path(), key))
    return key + "/" + absolute.filename().string();
  fs::path canonical = fs::weakly_canonical(absolute, ec);
  return (ec ? absolute : canonical).string();
}

}  // namespace qov
