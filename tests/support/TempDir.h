#pragma once
// Temporary folders and whole-file reads for the tests.

#include <filesystem>
#include <string>

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

 private:
  std::filesystem::path m_path;
};

// The bytes of the file at `path`; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

}  // namespace qov::test
