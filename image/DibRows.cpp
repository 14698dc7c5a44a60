// Whole-row access to the document's picture.

#include "image/DibRows.h"

#include <algorithm>

#include "image/DibBlock.h"

namespace qov {

CDibRows::CDibRows(CQOV_V2Doc& doc) : m_doc(doc), m_lock(doc.m_hDib) {
  std::byte* block = m_lock.get();
  if (!block || m_lock.size() < kWindowsInfoHeaderSize)
    return;
  const std::int64_t width = static_cast<std::int32_t>(DibWidth(block));
  const std::int64_t height = static_cast<std::int32_t>(DibHeight(block));
  if (width <= 0 || height <= 1)
    return;
  const std::uint64_t stride = DibRowStride(24, width);
  // Stored row 0 is never addressed; the highest row must end in the block.
  const std::uint64_t end = kWindowsInfoHeaderSize +
                            stride * static_cast<std::uint64_t>(height - 1) +
                            3 * static_cast<std::uint64_t>(width);
  if (end > m_lock.size())
    return;
  m_bits = reinterpret_cast<std::uint8_t*>(block + kWindowsInfoHeaderSize);
  m_stride = static_cast<std::size_t>(stride);
  m_blockHeight = height;
  m_width = std::min<std::int64_t>(width, doc.m_nWidth);
  m_height = std::min<std::int64_t>(height, doc.m_nHeight);
}

CDibRows::~CDibRows() {
  m_doc.NotePixelsChanged();
}

}  // namespace qov
