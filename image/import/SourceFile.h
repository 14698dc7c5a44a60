#pragma once
// The picture file as the libraries read it: their callbacks must not throw
// through C code, so a file-system error is kept and thrown again once the
// library has returned.

#include <cstddef>
#include <cstdint>
#include <exception>

#include "platform/File.h"

namespace qov::import {

class CSourceFile {
 public:
  explicit CSourceFile(CFile& file) : m_file(file) {}

  // Bytes read, fewer at the end of the file or after an error.
  std::size_t Read(void* buffer, std::size_t count) noexcept;
  // The new position, or -1 after an error.
  std::int64_t Seek(std::int64_t offset, CFile::SeekPosition from) noexcept;
  std::uint64_t Length() noexcept;

  // Throws the file-system error a callback met, if any.
  void RethrowFileError() const;

 private:
  CFile& m_file;
  std::exception_ptr m_error;
};

}  // namespace qov::import
