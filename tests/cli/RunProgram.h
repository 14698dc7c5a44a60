#pragma once
// Runs qov-convert as a separate process, as scripts do.

#include <string>
#include <vector>

namespace qov::test {

struct ProgramResult {
  int exitStatus = -1;  // -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs qov-convert with `args` in `workingDir` (the current folder when
// empty), standard output and standard error captured.
ProgramResult RunConvert(const std::vector<std::string>& args, const std::string& workingDir = {});

std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

// A fresh folder under the temporary folder, removed with its content.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

}  // namespace qov::test
