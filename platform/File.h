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
  // Set when a failed save could not put the file's old contents back.
  bool m_bOldContentsLost = false;

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

  // Opens or throws CFileException. A folder is refused (accessDenied), and
  // so is anything but a regular file when only those are allowed.
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
  // The window reads and writes regular files only: a pipe, a terminal or a
  // device would stop it in open() or read() until something else acts, so
  // they are refused at once. The batch converter writes to pipes. Set by
  // the window's backend.
  static void SetRegularFilesOnly(bool only);
  static bool RegularFilesOnly();
  const std::string& GetFilePath() const { return m_strFileName; }

 private:
  friend class CFileReplacement;
  [[noreturn]] void Throw(int osError) const;
  // Refuses what is not a regular file (accessDenied, no system error).
  [[noreturn]] void Refuse() const;

  int m_fd = -1;
  std::string m_strFileName;
};

// The framework's Japanese message for `e`, naming its file ("a.bmp への
// アクセスは拒否されました。"), for the window; and the system's one-line
// English reason ("Permission denied") for the batch converter. Both say so
// when a failed save could not put the old contents back.
std::string FileErrorMessage(const CFileException& e);
std::string FileErrorReason(const CFileException& e);

// `path` made absolute against the current folder, without "." or ".."
// steps; links are not followed. An empty path stays empty.
std::string AbsolutePath(const std::string& path);

// The file that `path` finally names once symbolic links are followed; it
// need not exist yet (a dangling link names the file to create). Sets
// *descriptor when a link on the way names an open descriptor (/dev/stdout,
// /dev/fd/N): such a name stands for whatever that descriptor is, a pipe or
// a file opened for appending, and is written as a stream, never truncated or
// replaced. Throws CFileException for a loop of links.
std::string ResolveLinks(const std::string& path, bool* descriptor);

}  // namespace qov
