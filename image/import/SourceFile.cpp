// Reads for the libraries' callbacks, file-system errors kept for later.

#include "image/import/SourceFile.h"

namespace qov::import {

std::size_t CSourceFile::Read(void* buffer, std::size_t count) noexcept {
  if (m_error)
    return 0;
  try {
    return m_file.Read(buffer, count);
  } catch (...) {
    m_error = std::current_exception();
    return 0;
  }
}

std::int64_t CSourceFile::Seek(std::int64_t offset, CFile::SeekPosition from) noexcept {
  if (m_error)
    return -1;
  try {
    return static_cast<std::int64_t>(m_file.Seek(offset, from));
  } catch (...) {
    m_error = std::current_exception();
    return -1;
  }
}

std::uint64_t CSourceFile::Length() noexcept {
  try {
    return m_file.GetLength();
  } catch (...) {
    m_error = std::current_exception();
    return 0;
  }
}

void CSourceFile::RethrowFileError() const {
  if (m_error)
    std::rethrow_exception(m_error);
}

}  // namespace qov::import
