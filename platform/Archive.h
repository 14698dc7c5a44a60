#pragma once
// A storing archive: buffers what is written and hands it to the file in
// blocks of the buffer size.

#include <cstddef>
#include <vector>

#include "platform/File.h"

namespace qov {

class CArchive {
 public:
  enum Mode { store = 0 };
  static constexpr std::size_t kDefaultBufferSize = 512;

  CArchive(CFile* file, Mode mode, std::size_t bufferSize = kDefaultBufferSize);
  // Drops what is still buffered; never throws, never writes.
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  // Writes the bytes unchanged; may throw CFileException when the buffer is
  // handed to the file.
  void Write(const void* data, std::size_t count);
  // Hands the buffer to the file; throws CFileException.
  void Flush();
  // Flushes and detaches from the file (the file stays open); throws.
  void Close();
  // Drops the buffer and detaches, without writing; never throws.
  void Abort() noexcept;

  CFile* GetFile() const { return m_pFile; }

 private:
  CFile* m_pFile;
  std::vector<char> m_buffer;
  std::size_t m_used = 0;
};

}  // namespace qov
