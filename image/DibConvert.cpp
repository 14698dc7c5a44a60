// Converting a clipboard bitmap of any common layout into the 24-bit block.

#include <algorithm>
#include <new>

#include "image/DibDecode.h"
#include "image/DibFile.h"

namespace qov {

using namespace dib;

namespace {

inline constexpr std::uint32_t kOs2HeaderSize = 64;
inline constexpr std::size_t kMaskBytes = 12;

bool IsKnownHeaderSize(std::uint32_t size) {
  switch (size) {
    case kCoreHeaderSize:
    case kWindowsInfoHeaderSize:
    case 52:  // with red, green and blue masks
    case 56:  // and an alpha mask
    case kOs2HeaderSize:
    case 108:  // version 4: masks, colour space
    case 124:  // version 5: and a colour profile
      return true;
    default:
      return false;
  }
}

// Which bit counts each compression may go with; anything else is refused.
DibReadError CheckClipboardFormat(const DibInfo& info, bool& runLength) {
  runLength = false;
  // The OS/2 header's values above 2 name Huffman and RLE24 coding.
  if (info.headerSize == kOs2HeaderSize && info.compression > BI_RLE4) {
    return DibReadError::UnsupportedCompression;
  }
  switch (info.compression) {
    case BI_RGB:
      return IsConvertibleBitCount(info.bitCount) ? DibReadError::None
                                                  : DibReadError::UnsupportedBitCount;
    case BI_RLE8:
    case BI_RLE4:
      runLength = true;
      return info.bitCount == (info.compression == BI_RLE8 ? 8 : 4)
                 ? DibReadError::None
                 : DibReadError::UnsupportedCompression;
    case BI_BITFIELDS:
      return info.bitCount == 16 || info.bitCount == 32 ? DibReadError::None
                                                        : DibReadError::UnsupportedCompression;
    default:
      return DibReadError::UnsupportedCompression;
  }
}

ChannelMasks ReadMasks(const std::byte* p) {
  return {Get32(p), Get32(p + 4), Get32(p + 8)};
}

// Rows that lie in memory one after another.
class MemoryRowSource : public RowSource {
 public:
  MemoryRowSource(const std::byte* data, std::size_t size, std::size_t stride)
      : m_next(data), m_left(size), m_stride(stride) {}

  const std::byte* NextRow() override {
    if (m_left < m_stride)
      return nullptr;
    const std::byte* row = m_next;
    m_next += m_stride;
    m_left -= m_stride;
    return row;
  }

 private:
  const std::byte* m_next;
  std::size_t m_left;
  std::size_t m_stride;
};

// The layout after the header: bit-field masks (which a 40-byte header
// keeps after itself and the larger ones inside), then the colour table.
struct Layout {
  ChannelMasks masks;
  Palette palette;
  std::uint64_t pixelOffset = 0;
};

DibReadError ReadLayout(const std::byte* data, std::size_t size, const DibInfo& info,
                        Layout& layout) {
  std::uint64_t offset = info.headerSize;
  layout.masks = info.bitCount == 16 ? kMasks555 : kMasks888;
  if (info.compression == BI_BITFIELDS) {
    const std::uint64_t masksAt = info.headerSize == kWindowsInfoHeaderSize ? offset : 40;
    if (masksAt + kMaskBytes > size)
      return DibReadError::TruncatedHeader;
    layout.masks = ReadMasks(data + masksAt);
    if (info.headerSize == kWindowsInfoHeaderSize)
      offset += kMaskBytes;
  }
  const std::uint64_t entries = info.bitCount <= 8 ? DeclaredColorEntries(info) : info.clrUsed;
  const std::size_t entrySize = info.headerSize == kCoreHeaderSize ? 3 : 4;
  const std::uint64_t tableBytes = entries * entrySize;
  if (tableBytes > size - offset)
    return DibReadError::TruncatedHeader;
  if (info.bitCount <= 8) {
    layout.palette.Load(data + offset,
                        static_cast<std::size_t>(std::min<std::uint64_t>(entries, 256)), entrySize);
  }
  layout.pixelOffset = offset + tableBytes;
  return DibReadError::None;
}

CGlobalOwner ConvertPixels(const std::byte* pixels, std::size_t size, const DibInfo& info,
                           const Layout& layout, bool runLength, DibReadError& error) {
  if (!runLength && !HoldsAllRows(info, size)) {
    error = DibReadError::TruncatedPixels;
    return nullptr;
  }
  return DecodeIntoNewBlock(info, error, [&](const TargetImage& target) {
    if (runLength) {
      ByteCursor cursor(pixels, size);
      DecodeRunLength(cursor, info.compression == BI_RLE4, layout.palette, target);
      return DibReadError::None;
    }
    const RowConverter converter({info.bitCount, &layout.palette, layout.masks}, info.width);
    MemoryRowSource rows(pixels, size,
                         static_cast<std::size_t>(DibRowStride(info.bitCount, info.width)));
    return ConvertRows(rows, converter, target, info.height < 0);
  });
}

CGlobalOwner Convert(const std::byte* data, std::size_t size, DibReadError& error) {
  if (!data || size < 4) {
    error = DibReadError::TruncatedHeader;
    return nullptr;
  }
  const std::uint32_t headerSize = Get32(data);
  if (!IsKnownHeaderSize(headerSize)) {
    error = DibReadError::BadHeader;
    return nullptr;
  }
  if (headerSize > size) {
    error = DibReadError::TruncatedHeader;
    return nullptr;
  }
  const DibInfo info =
      headerSize == kCoreHeaderSize ? ParseCoreHeader(data) : ParseInfoHeader(data);
  bool runLength = false;
  error = CheckClipboardFormat(info, runLength);
  if (error == DibReadError::None)
    error = CheckGeometry(info, runLength);
  if (error != DibReadError::None)
    return nullptr;
  Layout layout;
  error = ReadLayout(data, size, info, layout);
  if (error != DibReadError::None)
    return nullptr;
  const auto offset = static_cast<std::size_t>(layout.pixelOffset);
  return ConvertPixels(data + offset, size - offset, info, layout, runLength, error);
}

}  // namespace

PictureReadResult ConvertDibTo24(const std::byte* data, std::size_t size) {
  DibReadError error = DibReadError::None;
  PictureReadResult read;
  try {
    read.block = Convert(data, size, error);
  } catch (const std::bad_alloc&) {
    error = DibReadError::OutOfMemory;
  }
  read.failure.reason = read ? DibReadError::None : error;
  return read;
}

}  // namespace qov
