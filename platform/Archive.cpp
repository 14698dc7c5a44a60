// The storing archive.

#include "platform/Archive.h"

#include <algorithm>
#include <cstring>

namespace qov {

CArchive::CArchive(CFile* file, Mode /*mode*/, std::size_t bufferSize)
    : m_pFile(file), m_buffer(std::max<std::size_t>(bufferSize, 1)) {}

CArchive::~CArchive() = default;

void CArchive::Write(const void* data, std::size_t count) {
  if (!m_pFile)
    throw CFileException(CFileException::genericException, "", 0);
  const auto* in = static_cast<const char*>(data);
  const std::size_t blockSize = m_buffer.size();
  while (count > 0) {
    // With nothing buffered, whole blocks go to the file without a copy.
    if (m_used == 0 && count >= blockSize) {
      const std::size_t whole = count - count % blockSize;
      m_pFile->Write(in, whole);
      in += whole;
      count -= whole;
      continue;
    }
    const std::size_t n = std::min(count, blockSize - m_used);
    std::memcpy(m_buffer.data() + m_used, in, n);
    m_used += n;
    in += n;
    count -= n;
    if (m_used == blockSize)
      Flush();
  }
}

void CArchive::Flush() {
  if (!m_pFile || m_used == 0)
    return;
  // Emptied first: after a failed write the bytes are not offered again.
  const std::size_t n = m_used;
  m_used = 0;
  m_pFile->Write(m_buffer.data(), n);
}

void CArchive::Close() {
  Flush();
  m_pFile = nullptr;
}

void CArchive::Abort() noexcept {
  m_used = 0;
  m_pFile = nullptr;
}

}  // namespace qov
