// Feeds arbitrary bytes to ReadDibFile as the content of a file: the result
// is a refusal with a reason or a well-formed 24-bit block that saves again.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/File.h"

namespace {

using qov::fuzz::Require;

// One in-memory file, rewritten for every input; each open of its /proc
// name starts at offset 0.
int InputFile() {
  static const int fd = ::memfd_create("fuzz-read-dib-file", MFD_CLOEXEC);
  Require(fd >= 0);
  return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = InputFile();
  Require(::ftruncate(fd, 0) == 0);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
    Require(n > 0);
    done += static_cast<std::size_t>(n);
  }
  qov::CFile file("/proc/self/fd/" + std::to_string(fd), qov::CFile::modeRead);
  qov::DibReadError error = qov::DibReadError::None;
  const qov::CGlobalOwner block(qov::ReadDibFile(file, &error));
  qov::fuzz::RequireConsistent(block.get(), error);
  if (!block)
    return 0;
  qov::fuzz::RequireDocumentBlock(block.get());
  qov::CFile sink("/dev/null", qov::CFile::modeWrite);
  Require(qov::WriteDibFile(block.get(), sink));
  return 0;
}
