#pragma once
// The one temporary folder of the tests, and whole-file reads.

#include <filesystem>
#include <string>
#include <string_view>

namespace qov::test {

// A fresh folder under the system's temporary folder, removed with its
// content (whatever its permissions) at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::string File(const std::string& name) const { return (m_path / name).string(); }
  // The folder `name` in it, made as needed.
  std::string Folder(const std::string& name) const;

 private:
  std::filesystem::path m_path;
};

// The bytes of the file at `path`; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Replaces the file at `path` with `bytes`.
void WriteFileBytes(const std::string& path, std::string_view bytes);

}  // namespace qov::test
