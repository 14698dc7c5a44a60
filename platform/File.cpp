// Files over POSIX descriptors. Every failure becomes a CFileException that
// carries errno, so the caller can show the system's own text.

#include "platform/File.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <atomic>
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
  const bool regularOnly = RegularFilesOnly();
  int oflags = O_CLOEXEC;
  if (flags & modeReadWrite) {
    oflags |= O_RDWR;
  } else if (flags & modeWrite) {
    oflags |= O_WRONLY;
  } else {
    oflags |= O_RDONLY;
  }
  if (flags & modeCreate) {
    bool descriptor = false;
    ResolveLinks(path, &descriptor);
    if (descriptor && regularOnly)
      Refuse();
    oflags |= O_CREAT | (descriptor ? O_APPEND : O_TRUNC);
  }
  // Opening a pipe without a writer, say, would wait for one.
  if (regularOnly)
    oflags |= O_NONBLOCK;
  int fd;
  do {
    fd = ::open(path.c_str(), oflags, 0666);
  } while (fd < 0 && errno == EINTR);
  // A pipe without a reader cannot be opened to write without waiting.
  if (fd < 0 && errno == ENXIO && regularOnly)
    Refuse();
  if (fd < 0)
    Throw(errno);
  m_fd = fd;
  // Reading a folder "succeeds" on this system; the callers want a file.
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    Abort();
    Throw(EISDIR);
  }
  if (regularOnly) {
    if (!S_ISREG(st.st_mode)) {
      Abort();
      Refuse();
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  }
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

void CFile::Refuse() const {
  throw CFileException(CFileException::accessDenied, m_strFileName, 0);
}

void CFile::Throw(int osError) const {
  throw CFileException(CFileException::CauseFromErrno(osError), m_strFileName, osError);
}

namespace {

std::atomic<bool> g_bRegularFilesOnly{false};

[[noreturn]] void ThrowFor(const std::string& path, int osError) {
  throw CFileException(CFileException::CauseFromErrno(osError), path, osError);
}

// Whether the folder of `link` is in the process file system, whose links
// name open descriptors rather than paths.
bool IsDescriptorLink(const std::filesystem::path& link) {
  struct statfs fs {};
  const std::string folder = link.has_parent_path() ? link.parent_path().string() : ".";
  return ::statfs(folder.c_str(), &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
}

}  // namespace

std::string ResolveLinks(const std::string& path, bool* descriptor) {
  namespace fs = std::filesystem;
  constexpr int kMaxLinks = 40;
  *descriptor = false;
  fs::path current(path);
  for (int i = 0; i < kMaxLinks; ++i) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(current, ec)))
      return current.string();
    if (IsDescriptorLink(current)) {
      *descriptor = true;
      return current.string();
    }
    const fs::path link = fs::read_symlink(current, ec);
    if (ec)
      ThrowFor(path, ec.value());
    current = link.is_absolute() ? link : current.parent_path() / link;
  }
  ThrowFor(path, ELOOP);
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty())
    return path;
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

void CFile::SetRegularFilesOnly(bool only) {
  g_bRegularFilesOnly = only;
}

bool CFile::RegularFilesOnly() {
  return g_bRegularFilesOnly;
}

}  // namespace qov
