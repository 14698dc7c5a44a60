// Files over POSIX descriptors. Every failure becomes a CFileException that
// carries errno, so the caller can show the system's own text.

#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

namespace qov {
namespace {

// The text of an exception that has no errno behind it.
const char* CauseText(CFileException::Cause cause) {
  switch (cause) {
    case CFileException::none:
      return "no error";
    case CFileException::fileNotFound:
      return "file not found";
    case CFileException::badPath:
      return "invalid path";
    case CFileException::tooManyOpenFiles:
      return "too many open files";
    case CFileException::accessDenied:
      return "access denied";
    case CFileException::invalidFile:
      return "invalid file";
    case CFileException::removeCurrentDir:
      return "cannot remove the current folder";
    case CFileException::directoryFull:
      return "folder full";
    case CFileException::badSeek:
      return "seek failed";
    case CFileException::hardIO:
      return "input/output error";
    case CFileException::sharingViolation:
      return "sharing violation";
    case CFileException::lockViolation:
      return "lock violation";
    case CFileException::diskFull:
      return "disk full";
    case CFileException::endOfFile:
      return "unexpected end of file";
    case CFileException::genericException:
      break;
  }
  return "unspecified file error";
}

}  // namespace

CFileException::CFileException(Cause cause, std::string path, int osError)
    : m_cause(cause), m_strFileName(std::move(path)), m_lOsError(osError) {
  m_what = m_strFileName.empty() ? OsErrorText() : m_strFileName + ": " + OsErrorText();
}

CFileException::Cause CFileException::CauseFromErrno(int osError) {
  switch (osError) {
    case 0:
      return none;
    case ENOENT:
      return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
      return badPath;
    case EMFILE:
    case ENFILE:
      return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
      return accessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return diskFull;
    case EIO:
      return hardIO;
    case ESPIPE:
    case EOVERFLOW:
      return badSeek;
    case EBUSY:
      return sharingViolation;
    case EDEADLK:
    case ENOLCK:
      return lockViolation;
    default:
      return genericException;
  }
}

std::string CFileException::OsErrorText() const {
  if (m_lOsError == 0)
    return CauseText(m_cause);
  return std::strerror(m_lOsError);
}

CFile::CFile(const std::string& path, unsigned flags) {
  Open(path, flags);
}

CFile::~CFile() {
  Abort();
}

void CFile::Open(const std::string& path, unsigned flags) {
  Abort();
  m_strFileName = path;
  int oflags = O_CLOEXEC;
  if (flags & modeReadWrite) {
    oflags |= O_RDWR;
  } else if (flags & modeWrite) {
    oflags |= O_WRONLY;
  } else {
    oflags |= O_RDONLY;
  }
  if (flags & modeCreate)
    oflags |= O_CREAT | O_TRUNC;
  int fd;
  do {
    fd = ::open(path.c_str(), oflags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0)
    Throw(errno);
  // Reading a folder "succeeds" on this system; the callers want a file.
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    Throw(EISDIR);
  }
  m_fd = fd;
}

std::size_t CFile::Read(void* buffer, std::size_t count) {
  auto* out = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(m_fd, out + done, count - done);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      Throw(errno);
    }
    if (n == 0)
      break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

void CFile::Write(const void* buffer, std::size_t count) {
  const auto* in = static_cast<const char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(m_fd, in + done, count - done);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      Throw(errno);
    }
    // A write that takes nothing makes no progress: report it as a full disk.
    if (n == 0)
      Throw(ENOSPC);
    done += static_cast<std::size_t>(n);
  }
}

std::uint64_t CFile::Seek(std::int64_t offset, SeekPosition from) {
  const int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
  const off_t pos = ::lseek(m_fd, static_cast<off_t>(offset), whence);
  if (pos < 0)
    throw CFileException(CFileException::badSeek, m_strFileName, errno);
  return static_cast<std::uint64_t>(pos);
}

std::uint64_t CFile::GetLength() const {
  struct stat st {};
  if (::fstat(m_fd, &st) != 0)
    Throw(errno);
  return static_cast<std::uint64_t>(st.st_size);
}

void CFile::Close() {
  if (m_fd < 0)
    return;
  const int fd = std::exchange(m_fd, -1);
  // The descriptor is gone after close() whatever it returns; EINTR is no
  // loss of data on this system, so only real errors are reported.
  if (::close(fd) != 0 && errno != EINTR)
    Throw(errno);
}

void CFile::Abort() noexcept {
  if (m_fd < 0)
    return;
  ::close(std::exchange(m_fd, -1));
}

void CFile::Throw(int osError) const {
  throw CFileException(CFileException::CauseFromErrno(osError), m_strFileName, osError);
}

namespace {

[[noreturn]] void ThrowFor(const std::string& path, int osError) {
  throw CFileException(CFileException::CauseFromErrno(osError), path, osError);
}

// The file that `path` finally names once symbolic links are followed; it
// need not exist yet (a dangling link names the file to create).
std::string ResolveLinks(const std::string& path) {
  namespace fs = std::filesystem;
  constexpr int kMaxLinks = 40;
  fs::path current(path);
  for (int i = 0; i < kMaxLinks; ++i) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(current, ec)))
      return current.string();
    const fs::path link = fs::read_symlink(current, ec);
    if (ec)
      ThrowFor(path, ec.value());
    current = link.is_absolute() ? link : current.parent_path() / link;
  }
  ThrowFor(path, ELOOP);
}

// A hidden name beside the target, short enough for any file system.
std::string TemporaryPattern(const std::string& target) {
  constexpr std::size_t kMaxBaseName = 200;
  const std::size_t slash = target.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  return folder + "/." + name.substr(0, kMaxBaseName) + ".XXXXXX";
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

CFileReplacement::CFileReplacement(const std::string& path)
    : m_strPath(path), m_strTarget(ResolveLinks(path)) {
  struct stat st {};
  const bool exists = ::stat(m_strTarget.c_str(), &st) == 0;
  if (!exists && errno != ENOENT)
    ThrowFor(m_strPath, errno);
  if (exists && S_ISDIR(st.st_mode))
    ThrowFor(m_strPath, EISDIR);
  if (exists && !S_ISREG(st.st_mode)) {
    OpenInPlace(m_strTarget);
    return;
  }
  // A file the user may not write is not replaced behind its back.
  if (exists && ::access(m_strTarget.c_str(), W_OK) != 0)
    ThrowFor(m_strPath, errno);
  if (!OpenTemporary(m_strTarget, exists ? st.st_mode & 07777 : NewFileMode())) {
    OpenInPlace(m_strTarget);
  }
  if (exists && !m_bInPlace) {
    // Only root (or the owner, for a group it belongs to) can keep the
    // owner; otherwise the new file is the writer's, as any new file is.
    [[maybe_unused]] const int kept = ::fchown(m_file.m_fd, st.st_uid, st.st_gid);
  }
}

CFileReplacement::~CFileReplacement() {
  m_file.Abort();
  if (!m_bCommitted && !m_strTemporary.empty())
    ::unlink(m_strTemporary.c_str());
}

// False when the folder cannot take a new file.
bool CFileReplacement::OpenTemporary(const std::string& target, unsigned mode) {
  std::string name = TemporaryPattern(target);
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    if (errno == EACCES || errno == EPERM || errno == EROFS)
      return false;
    ThrowFor(m_strPath, errno);
  }
  // Thrown from the constructor, so the destructor would not clean up.
  if (::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
    const int error = errno;
    ::close(fd);
    ::unlink(name.c_str());
    ThrowFor(m_strPath, error);
  }
  m_strTemporary = name;
  m_file.m_fd = fd;
  m_file.m_strFileName = m_strPath;
  return true;
}

// Written from its start without truncating first: the old bytes beyond the
// new end are cut off at Commit().
void CFileReplacement::OpenInPlace(const std::string& target) {
  m_bInPlace = true;
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0)
    ThrowFor(m_strPath, errno);
  m_file.m_fd = fd;
  m_file.m_strFileName = m_strPath;
}

void CFileReplacement::Commit() {
  const int fd = m_file.m_fd;
  struct stat st {};
  if (::fstat(fd, &st) != 0)
    m_file.Throw(errno);
  if (S_ISREG(st.st_mode)) {
    if (m_bInPlace && ::ftruncate(fd, ::lseek(fd, 0, SEEK_CUR)) != 0)
      m_file.Throw(errno);
    // Errors that the file system reports only when the data reaches the
    // disk (a full disk, a quota) must come before the old file is gone.
    if (::fsync(fd) != 0)
      m_file.Throw(errno);
  }
  m_file.Close();
  if (!m_bInPlace && ::rename(m_strTemporary.c_str(), m_strTarget.c_str()) != 0) {
    ThrowFor(m_strPath, errno);
  }
  m_bCommitted = true;
}

}  // namespace qov
