#pragma once
// Decoding shared by the .bmp file reader and the clipboard converter: the
// header fields, the checks every picture passes before memory is taken, the
// 24-bit target block, colour tables, one row converter per bit depth and the
// run-length decoder. Internal to the image library.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "image/DibBlock.h"
#include "image/PictureReadError.h"
#include "platform/GlobalMemory.h"
#include "platform/Progress.h"

namespace qov::dib {

// Little-endian fields, whatever the alignment.
inline std::uint16_t Get16(const std::byte* p) {
  return static_cast<std::uint16_t>(std::to_integer<unsigned>(p[0]) |
                                    std::to_integer<unsigned>(p[1]) << 8);
}
inline std::uint32_t Get32(const std::byte* p) {
  return static_cast<std::uint32_t>(Get16(p)) | static_cast<std::uint32_t>(Get16(p + 2)) << 16;
}
inline void Put16(std::byte* p, std::uint16_t v) {
  p[0] = static_cast<std::byte>(v & 0xFF);
  p[1] = static_cast<std::byte>(v >> 8);
}
inline void Put32(std::byte* p, std::uint32_t v) {
  Put16(p, static_cast<std::uint16_t>(v & 0xFFFF));
  Put16(p + 2, static_cast<std::uint16_t>(v >> 16));
}

inline constexpr std::uint16_t kBitmapFileType = 0x4D42;  // "BM"
inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_RLE8 = 1;
inline constexpr std::uint32_t BI_RLE4 = 2;
inline constexpr std::uint32_t BI_BITFIELDS = 3;
inline constexpr std::uint32_t BI_ALPHABITFIELDS = 6;  // and an alpha mask, ignored
// The largest file the format can describe: its size field has 32 bits.
inline constexpr std::uint64_t kMaxFileSize = 0xFFFFFFFFu;

// The information header's fields, from any header kind.
struct DibInfo {
  std::uint32_t headerSize = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: rows stored top-down
  std::uint16_t planes = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = BI_RGB;
  std::uint32_t imageSize = 0;
  std::uint32_t xPelsPerMeter = 0;
  std::uint32_t yPelsPerMeter = 0;
  std::uint32_t clrUsed = 0;
  std::uint32_t clrImportant = 0;

  std::int64_t Rows() const { return height < 0 ? -height : height; }
};

// The 12-byte core header: 16-bit unsigned width and height, no compression.
DibInfo ParseCoreHeader(const std::byte* header);
// The first 40 bytes of a Windows or OS/2 2.x information header, which
// share that layout.
DibInfo ParseInfoHeader(const std::byte* header);

// Entries of the colour table as the header declares them: colours-used
// when non-zero, else 2, 16 or 256 for 1, 4 or 8 bits per pixel.
std::uint64_t DeclaredColorEntries(const DibInfo& info);

// Width ≤ 0, height 0 and run-length data stored top-down are refused, and
// so is a picture whose 24-bit file could not be saved again.
DibReadError CheckGeometry(const DibInfo& info, bool runLength);

// A zeroed 24-bit block for `info`'s picture, its 40-byte header written;
// null when the memory cannot be had. Call CheckGeometry first.
CGlobalOwner AllocTarget(const DibInfo& info);

// The 24-bit pixel area of a locked target block.
struct TargetImage {
  std::byte* pixels;
  std::uint64_t stride;
  std::int64_t width;
  std::int64_t rows;

  std::byte* Row(std::int64_t row) const {
    return pixels + static_cast<std::uint64_t>(row) * stride;
  }
};
TargetImage LockedTarget(std::byte* block, const DibInfo& info);

// Whether `available` bytes hold every uncompressed source row of `info`:
// checked before anything is allocated.
bool HoldsAllRows(const DibInfo& info, std::uint64_t available);

// A new target block for `info`, filled by `decode(const TargetImage&)`,
// which returns the reason it failed (DibReadError::None when it did not).
// Null with `error` set when memory cannot be had or decoding fails.
template <class Decode>
CGlobalOwner DecodeIntoNewBlock(const DibInfo& info, DibReadError& error, Decode decode) {
  CGlobalOwner block = AllocTarget(info);
  if (!block) {
    error = DibReadError::OutOfMemory;
    return nullptr;
  }
  const CGlobalLock lock(block.get());
  error = decode(LockedTarget(lock.get(), info));
  return error == DibReadError::None ? std::move(block) : nullptr;
}

// Calls `part(offset, count)` over bytes 0 to size − 1 in pieces of 8 MiB,
// a progress step each, so that reading or writing a large picture's pixels
// can be followed and stopped; false as soon as a piece returns false.
template <class Part>
bool InPieces(std::uint64_t size, Part part) {
  constexpr std::uint64_t kPiece = std::uint64_t{8} << 20;
  CProgressWalk walk(static_cast<std::int64_t>(size));
  for (std::uint64_t done = 0; done < size; done += kPiece) {
    walk.Step(static_cast<std::int64_t>(done));
    if (!part(done, static_cast<std::size_t>(std::min(kPiece, size - done))))
      return false;
  }
  return true;
}

// A colour table of 256 entries; indices the bitmap's table does not cover
// are black.
class Palette {
 public:
  using Entry = std::array<std::byte, 4>;  // blue, green, red, 0

  // Takes `count` entries of `entrySize` bytes (blue, green, red first), at
  // most 256.
  void Load(const std::byte* entries, std::size_t count, std::size_t entrySize);
  const Entry& operator[](std::size_t index) const { return m_entries[index]; }

 private:
  std::array<Entry, 256> m_entries{};
};

// Where a channel sits in a 16- or 32-bit pixel.
struct ChannelMasks {
  std::uint32_t red;
  std::uint32_t green;
  std::uint32_t blue;
  friend bool operator==(const ChannelMasks&, const ChannelMasks&) = default;
};
// 5 bits per channel, the top bit unused: what a 16-bit pixel means without
// masks.
inline constexpr ChannelMasks kMasks555{0x7C00, 0x03E0, 0x001F};
// Blue, green and red in bytes 0, 1 and 2; byte 3 unused.
inline constexpr ChannelMasks kMasks888{0x00FF0000, 0x0000FF00, 0x000000FF};

// How a channel's field becomes 8 bits. Fields of the default layouts are
// shifted into the top bits (5 bits: value × 8), as they always were read;
// fields of masks that a bitmap gives are scaled by repeating their bits
// (5 bits: 31 becomes 255, 16 becomes 132). Fields of more than 8 bits
// keep their top 8 either way.
enum class FieldScaling { shift, replicate };

// How the source pixels are stored: bit count plus the colour table (up to
// 8 bits) or the channel masks (16 and 32 bits).
struct PixelFormat {
  std::uint32_t bitCount;
  const Palette* palette;
  ChannelMasks masks;
  FieldScaling scaling = FieldScaling::shift;
};

// True for the depths RowConverter handles: 1, 4, 8, 16, 24 and 32 bits.
bool IsConvertibleBitCount(std::uint32_t bitCount);

// Converts one source row of `width` pixels into 3-byte pixels (blue, green,
// red). Writes exactly 3 × width bytes.
class RowConverter {
 public:
  RowConverter(const PixelFormat& format, std::int64_t width);
  void Convert(const std::byte* src, std::byte* dst) const { (this->*m_convert)(src, dst); }

 private:
  struct Channel {
    std::uint32_t mask = 0;
    unsigned shift = 0;  // of the mask's lowest bit
    unsigned bits = 0;   // from that bit to the mask's highest bit
    bool replicate = false;
    std::uint8_t Extract(std::uint32_t pixel) const;
  };
  using ConvertFn = void (RowConverter::*)(const std::byte*, std::byte*) const;

  void BuildExpansion(unsigned bitsPerPixel);
  template <std::size_t PixelsPerByte>
  void ConvertPacked(const std::byte* src, std::byte* dst) const;
  void Convert8(const std::byte* src, std::byte* dst) const;
  void Convert16(const std::byte* src, std::byte* dst) const;
  void Convert24(const std::byte* src, std::byte* dst) const;
  void Convert32(const std::byte* src, std::byte* dst) const;
  void Convert32Masked(const std::byte* src, std::byte* dst) const;

  ConvertFn m_convert = nullptr;
  std::size_t m_width;
  const Palette* m_palette = nullptr;
  // 1 and 4 bits: the target bytes of every source byte value.
  std::vector<std::byte> m_expansion;
  Channel m_red, m_green, m_blue;
};

// Hands out the next source row (the converter's input), or null when the
// data ends before it.
class RowSource {
 public:
  virtual ~RowSource() = default;
  virtual const std::byte* NextRow() = 0;
};

// Converts `target.rows` rows, from the bottom row up, or from the top row
// down when `topDown`. TruncatedPixels when the source runs out.
DibReadError ConvertRows(RowSource& source, const RowConverter& converter,
                         const TargetImage& target, bool topDown);

// Bytes one at a time. The base walks one span of memory; a derived cursor
// refills it chunk by chunk.
class ByteCursor {
 public:
  ByteCursor() = default;
  ByteCursor(const std::byte* data, std::size_t size) : m_pos(data), m_end(data + size) {}
  virtual ~ByteCursor() = default;
  ByteCursor(const ByteCursor&) = delete;
  ByteCursor& operator=(const ByteCursor&) = delete;

  // False at the end of the data.
  bool Next(std::uint8_t& value) {
    if (m_pos == m_end && !Refill())
      return false;
    value = std::to_integer<std::uint8_t>(*m_pos++);
    return true;
  }

 protected:
  // Makes at least one more byte available through SetSpan; false when
  // there is none.
  virtual bool Refill() { return false; }
  void SetSpan(const std::byte* data, std::size_t size) {
    m_pos = data;
    m_end = data + size;
  }

 private:
  const std::byte* m_pos = nullptr;
  const std::byte* m_end = nullptr;
};

// Decodes RLE8 or RLE4 data into the target rows, bottom row first. Pixels
// beyond the width are dropped; a delta past the top row, an end-of-bitmap
// code or the end of the data ends decoding, and what was not decoded stays
// black. False when the data ends before the last row is complete.
bool DecodeRunLength(ByteCursor& in, bool rle4, const Palette& palette, const TargetImage& target);

}  // namespace qov::dib
