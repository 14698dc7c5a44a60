#pragma once
// Fuzz input handed to a reader as the content of a real file.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"

namespace qov::fuzz {

// Rewrites one in-memory file with `data` and returns its /proc name; each
// open of that name starts at offset 0.
inline std::string WriteInputFile(const std::uint8_t* data, std::size_t size) {
  static const int fd = ::memfd_create("fuzz-input", MFD_CLOEXEC);
  Require(fd >= 0);
  Require(::ftruncate(fd, 0) == 0);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
    Require(n > 0);
    done += static_cast<std::size_t>(n);
  }
  return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace qov::fuzz
