#pragma once
// Files as the system's code uses them: open by path, read, seek forward,
// write everything or throw. Every failure is a CFileException.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

namespace qov {

class CFileException : public std::exception {
 public:
  enum Cause {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile,
  };

  // osError is the errno value behind the failure (0 when there is none).
  CFileException(Cause cause, std::string path, int osError);

  // The cause that an errno value stands for.
  static Cause CauseFromErrno(int osError);

  Cause m_cause;
  std::string m_strFileName;
  int m_lOsError;

  // The operating system's text for m_lOsError ("No space left on device").
  std::string OsErrorText() const;
  // "path: OS text", for one-line reports.
  const char* what() const noexcept override { return m_what.c_str(); }

 private:
  std::string m_what;
};

class CFile {
 public:
  enum OpenFlags : unsigned {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    modeCreate = 0x1000,
  };
  enum SeekPosition { begin = 0, current = 1, end = 2 };

  CFile() = default;
  // Opens or throws CFileException.
  CFile(const std::string& path, unsigned flags);
  // Closes without throwing; an error at that point is lost (call Close()).
  ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens or throws CFileException. A folder is refused (accessDenied).
  void Open(const std::string& path, unsigned flags);
  // Bytes delivered: fewer than asked only at the end of the file.
  std::size_t Read(void* buffer, std::size_t count);
  // Writes all bytes or throws (diskFull, hardIO, ...).
  void Write(const void* buffer, std::size_t count);
  // Moves the position; returns the new position. Throws badSeek.
  std::uint64_t Seek(std::int64_t offset, SeekPosition from);
  // Total length of the open file.
  std::uint64_t GetLength() const;
  // Closes; throws when the system reports an error on close.
  void Close();
  // Closes and ignores every error.
  void Abort() noexcept;

  bool IsOpen() const { return m_fd >= 0; }
  const std::string& GetFilePath() const { return m_strFileName; }

 private:
  friend class CFileReplacement;
  [[noreturn]] void Throw(int osError) const;

  int m_fd = -1;
  std::string m_strFileName;
};

// A new version of the file at `path` that replaces the old one only when it
// is complete: the bytes go to a temporary file beside the target, which
// Commit() renames over it, so a failed write leaves the old file intact.
// A symbolic link is followed (the file it points to is replaced), the
// target's permissions are kept, and a target that cannot be written is
// refused. Where the folder cannot take a new file, or the target is not a
// regular file (a device, say), the target itself is written.
class CFileReplacement {
 public:
  // Opens the file to write; throws CFileException.
  explicit CFileReplacement(const std::string& path);
  // Without Commit(), removes the temporary file.
  ~CFileReplacement();
  CFileReplacement(const CFileReplacement&) = delete;
  CFileReplacement& operator=(const CFileReplacement&) = delete;

  CFile& File() { return m_file; }
  // Puts what was written in place of the target, on the disk; throws
  // CFileException.
  void Commit();

 private:
  bool OpenTemporary(const std::string& target, unsigned mode);
  void OpenInPlace(const std::string& target);

  std::string m_strPath;
  std::string m_strTarget;
  std::string m_strTemporary;
  CFile m_file;
  bool m_bInPlace = false;
  bool m_bCommitted = false;
};

}  // namespace qov
