// Saving over a file: a new file renamed over the target, the target written
// in place with its old bytes kept, or a stream.

#include "platform/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <random>
#include <utility>
#include <vector>

#include "platform/SaveSignals.h"

namespace qov {
namespace {

[[noreturn]] void ThrowFor(const std::string& path, int osError) {
  throw CFileException(CFileException::CauseFromErrno(osError), path, osError);
}

std::string FolderOf(const std::string& target) {
  const std::size_t slash = target.find_last_of('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : target.substr(0, slash);
}

// Calls `attempt` (which returns an errno value, 0 for success) with hidden
// names beside `target`, short enough for any file system, until one is not
// taken; sets *name to the last one tried and returns what `attempt` did.
template <typename Attempt>
int TryHiddenNames(const std::string& target, std::string* name, Attempt attempt) {
  constexpr std::size_t kMaxBaseName = 200;
  constexpr int kAttempts = 100;
  constexpr int kRandomChars = 6;
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  const std::size_t slash = target.find_last_of('/');
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  const std::string prefix = FolderOf(target) + "/." + base.substr(0, kMaxBaseName) + ".";
  std::random_device random;
  int error = EEXIST;
  for (int i = 0; i < kAttempts && error == EEXIST; ++i) {
    *name = prefix;
    for (int k = 0; k < kRandomChars; ++k)
      *name += kChars[random() % (sizeof kChars - 1)];
    error = attempt(*name);
  }
  return error;
}

bool WriteAt(int fd, const char* data, std::size_t count, off_t offset) {
  while (count > 0) {
    const ssize_t n = ::pwrite(fd, data, count, offset);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    data += n;
    count -= static_cast<std::size_t>(n);
    offset += n;
  }
  return true;
}

std::size_t ReadAt(int fd, char* data, std::size_t count, off_t offset) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(fd, data + done, count - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

// A temporary file's name: removed on destruction unless released, and
// removed as well if a signal ends the program meanwhile.
class CTemporaryName {
 public:
  CTemporaryName() = default;
  ~CTemporaryName() { Discard(); }
  CTemporaryName(const CTemporaryName&) = delete;
  CTemporaryName& operator=(const CTemporaryName&) = delete;

  void Set(std::string name) {
    m_name = std::move(name);
    m_nSlot = RegisterSaveTemporary(m_name);
  }
  const std::string& Name() const { return m_name; }
  void Discard() noexcept {
    if (!m_name.empty())
      ::unlink(m_name.c_str());
    Release();
  }
  void Release() noexcept {
    UnregisterSaveTemporary(std::exchange(m_nSlot, -1));
    m_name.clear();
  }

 private:
  std::string m_name;
  int m_nSlot = -1;
};

}  // namespace

class CFileReplacement {
 public:
  explicit CFileReplacement(const std::string& path);
  ~CFileReplacement() { Restore(); }
  CFileReplacement(const CFileReplacement&) = delete;
  CFileReplacement& operator=(const CFileReplacement&) = delete;

  CFile& File() { return m_file; }
  // Puts what was written in place of the target, on the disk.
  void Commit();
  // Without a commit, leaves the target as it was before; false when its old
  // bytes could not be put back.
  bool Restore() noexcept;

 private:
  enum Mode { kStream, kUnnamed, kNamed, kInPlace };

  void OpenStream();
  bool OpenUnnamed(const struct stat* old);
  bool OpenNamed(const struct stat* old);
  void OpenInPlace();
  void Attach(int fd, Mode mode, const struct stat* old);
  void LinkUnnamed();
  void SyncFolder() const;
  bool RestoreInPlace() noexcept;

  std::string m_strPath;
  std::string m_strTarget;
  Mode m_mode = kStream;
  CTemporaryName m_temporary;
  // In place: the file's old bytes, and the slot that puts them back if a
  // signal ends the program.
  std::vector<char> m_oldBytes;
  int m_nInPlaceSlot = -1;
  // A stream onto a regular file: its length before.
  off_t m_nOldLength = -1;
  CFile m_file;
  bool m_bCommitted = false;
  bool m_bRestored = false;
  bool m_bRestoreResult = true;
};

CFileReplacement::CFileReplacement(const std::string& path) : m_strPath(path) {
  bool descriptor = false;
  m_strTarget = ResolveLinks(path, &descriptor);
  struct stat st {};
  const bool exists = ::stat(m_strTarget.c_str(), &st) == 0;
  if (!exists && errno != ENOENT)
    ThrowFor(m_strPath, errno);
  if (exists && S_ISDIR(st.st_mode))
    ThrowFor(m_strPath, EISDIR);
  if (descriptor || (exists && !S_ISREG(st.st_mode))) {
    OpenStream();
    return;
  }
  // A file the user may not write is not replaced behind its back.
  if (exists && ::access(m_strTarget.c_str(), W_OK) != 0)
    ThrowFor(m_strPath, errno);
  // Replacing a file with other links would leave them the old picture.
  if (exists && st.st_nlink > 1) {
    OpenInPlace();
    return;
  }
  const struct stat* old = exists ? &st : nullptr;
  if (!OpenUnnamed(old) && !OpenNamed(old))
    OpenInPlace();
}

void CFileReplacement::OpenStream() {
  if (CFile::RegularFilesOnly())
    throw CFileException(CFileException::accessDenied, m_strPath, 0);
  m_mode = kStream;
  m_file.Open(m_strPath, CFile::modeCreate | CFile::modeWrite);
  struct stat st {};
  if (::fstat(m_file.m_fd, &st) == 0 && S_ISREG(st.st_mode))
    m_nOldLength = st.st_size;
}

// False where the file system has no unnamed files, or the folder cannot
// take a new file.
bool CFileReplacement::OpenUnnamed(const struct stat* old) {
  // Giving the file a name needs the descriptor's link in /proc.
  if (::access("/proc/self/fd", X_OK) != 0)
    return false;
  const int fd = ::open(FolderOf(m_strTarget).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR)
      ThrowFor(m_strPath, errno);
    return false;
  }
  Attach(fd, kUnnamed, old);
  return true;
}

// False when the folder cannot take a new file but the target exists.
bool CFileReplacement::OpenNamed(const struct stat* old) {
  int fd = -1;
  std::string name;
  const int error = TryHiddenNames(m_strTarget, &name, [&fd](const std::string& candidate) {
    fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return fd < 0 ? errno : 0;
  });
  if (fd < 0) {
    if (old && (error == EACCES || error == EPERM || error == EROFS))
      return false;
    ThrowFor(m_strPath, error);
  }
  m_temporary.Set(name);
  Attach(fd, kNamed, old);
  return true;
}

void CFileReplacement::OpenInPlace() {
  const int fd = ::open(m_strTarget.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0)
    ThrowFor(m_strPath, errno);
  Attach(fd, kInPlace, nullptr);
  try {
    m_oldBytes.resize(static_cast<std::size_t>(m_file.GetLength()));
  } catch (const std::bad_alloc&) {
    ThrowFor(m_strPath, ENOMEM);
  }
  if (ReadAt(fd, m_oldBytes.data(), m_oldBytes.size(), 0) != m_oldBytes.size())
    ThrowFor(m_strPath, errno ? errno : EIO);
  // Without a way back from a signal, the save does not start.
  m_nInPlaceSlot = RegisterInPlaceSave(fd, m_oldBytes.data(), m_oldBytes.size());
  if (m_nInPlaceSlot < 0)
    ThrowFor(m_strPath, EBUSY);
}

// A new file takes the old one's permissions and, where the system lets the
// writer keep it, its owner.
void CFileReplacement::Attach(int fd, Mode mode, const struct stat* old) {
  m_file.m_fd = fd;
  m_file.m_strFileName = m_strPath;
  m_mode = mode;
  if (!old)
    return;
  [[maybe_unused]] const int kept = ::fchown(fd, old->st_uid, old->st_gid);
  if (::fchmod(fd, old->st_mode & 07777) != 0)
    ThrowFor(m_strPath, errno);
}

void CFileReplacement::Commit() {
  const int fd = m_file.m_fd;
  if (m_mode == kInPlace && ::ftruncate(fd, ::lseek(fd, 0, SEEK_CUR)) != 0)
    m_file.Throw(errno);
  // Errors that the file system reports only when the data reaches the disk
  // (a full disk, a quota) must come before the old file is gone.
  if (m_mode != kStream || m_nOldLength >= 0) {
    if (::fsync(fd) != 0)
      m_file.Throw(errno);
  }
  if (m_mode == kUnnamed)
    LinkUnnamed();
  if (m_mode == kStream || m_mode == kInPlace) {
    UnregisterInPlaceSave(std::exchange(m_nInPlaceSlot, -1));
    m_bCommitted = true;
    m_file.Close();
    return;
  }
  m_file.Close();
  if (::rename(m_temporary.Name().c_str(), m_strTarget.c_str()) != 0)
    ThrowFor(m_strPath, errno);
  m_temporary.Release();
  m_bCommitted = true;
  // Until the folder is on the disk, a power cut could bring the old file back.
  SyncFolder();
}

// An unnamed file gets a hidden name first: only a rename replaces a file.
void CFileReplacement::LinkUnnamed() {
  const std::string self = "/proc/self/fd/" + std::to_string(m_file.m_fd);
  std::string name;
  const int error = TryHiddenNames(m_strTarget, &name, [&self](const std::string& candidate) {
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0
               ? 0
               : errno;
  });
  if (error != 0)
    ThrowFor(m_strPath, error);
  m_temporary.Set(name);
}

void CFileReplacement::SyncFolder() const {
  const int fd = ::open(FolderOf(m_strTarget).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder the user may not read cannot be synced; the file is in place.
  if (fd < 0)
    return;
  const int result = ::fsync(fd);
  const int error = errno;
  ::close(fd);
  // Some file systems cannot sync a folder, and need not.
  if (result != 0 && error != EINVAL)
    ThrowFor(m_strPath, error);
}

bool CFileReplacement::Restore() noexcept {
  if (m_bCommitted || m_bRestored)
    return m_bRestoreResult;
  m_bRestored = true;
  if (m_mode == kInPlace) {
    m_bRestoreResult = RestoreInPlace();
    UnregisterInPlaceSave(std::exchange(m_nInPlaceSlot, -1));
  } else if (m_mode == kStream && m_nOldLength >= 0 && m_file.IsOpen())
    m_bRestoreResult = ::ftruncate(m_file.m_fd, m_nOldLength) == 0;
  m_file.Abort();
  m_temporary.Discard();
  return m_bRestoreResult;
}

// Only the bytes that differ are written back: where the save stopped on a
// full disk or a size limit, nothing beyond that point needs writing.
bool CFileReplacement::RestoreInPlace() noexcept {
  constexpr std::size_t kBlock = 4096;
  const int fd = m_file.m_fd;
  if (fd < 0)
    return false;
  char current[kBlock];
  const std::size_t size = m_oldBytes.size();
  for (std::size_t at = 0; at < size; at += kBlock) {
    const std::size_t n = std::min(kBlock, size - at);
    const char* old = m_oldBytes.data() + at;
    const std::size_t got = ReadAt(fd, current, n, static_cast<off_t>(at));
    std::size_t first = 0;
    while (first < got && current[first] == old[first])
      ++first;
    if (first == n)
      continue;
    std::size_t last = n;
    while (last > first + 1 && last <= got && current[last - 1] == old[last - 1])
      --last;
    if (!WriteAt(fd, old + first, last - first, static_cast<off_t>(at + first)))
      return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0)
    return false;
  if (static_cast<std::size_t>(st.st_size) != size &&
      ::ftruncate(fd, static_cast<off_t>(size)) != 0)
    return false;
  return ::fsync(fd) == 0;
}

bool ReplaceFile(const std::string& path, const std::function<bool(CFile&)>& write) {
  CFileReplacement replacement(path);
  try {
    if (write(replacement.File())) {
      replacement.Commit();
      return true;
    }
  } catch (CFileException& e) {
    e.m_bOldContentsLost = !replacement.Restore();
    throw;
  }
  if (!replacement.Restore()) {
    CFileException e(CFileException::hardIO, path, errno);
    e.m_bOldContentsLost = true;
    throw e;
  }
  return false;
}

}  // namespace qov
