// Decoding shared by the .bmp file reader and the clipboard converter.

#include "image/DibDecode.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "image/DibBlock.h"
#include "platform/Progress.h"

namespace qov::dib {

DibInfo ParseCoreHeader(const std::byte* header) {
  DibInfo info;
  info.headerSize = Get32(header);
  info.width = Get16(header + 4);
  info.height = Get16(header + 6);
  info.planes = Get16(header + 8);
  info.bitCount = Get16(header + 10);
  return info;
}

DibInfo ParseInfoHeader(const std::byte* header) {
  DibInfo info;
  info.headerSize = Get32(header);
  info.width = static_cast<std::int32_t>(Get32(header + 4));
  info.height = static_cast<std::int32_t>(Get32(header + 8));
  info.planes = Get16(header + 12);
  info.bitCount = Get16(header + 14);
  info.compression = Get32(header + 16);
  info.imageSize = Get32(header + 20);
  info.xPelsPerMeter = Get32(header + 24);
  info.yPelsPerMeter = Get32(header + 28);
  info.clrUsed = Get32(header + 32);
  info.clrImportant = Get32(header + 36);
  return info;
}

std::uint64_t DeclaredColorEntries(const DibInfo& info) {
  if (info.clrUsed != 0)
    return info.clrUsed;
  return DefaultColorCount(info.bitCount);
}

DibReadError CheckGeometry(const DibInfo& info, bool runLength) {
  if (info.width <= 0 || info.height == 0)
    return DibReadError::BadDimensions;
  // Run-length rows always count from the bottom: a top-down one is corrupt.
  if (info.height < 0 && runLength)
    return DibReadError::BadDimensions;
  const std::uint64_t stride = DibRowStride(24, info.width);
  const auto rows = static_cast<std::uint64_t>(info.Rows());
  const std::uint64_t fileHeaders = kFileHeaderSize + kWindowsInfoHeaderSize;
  if (rows > (kMaxFileSize - fileHeaders) / stride)
    return DibReadError::TooLarge;
  return DibReadError::None;
}

CGlobalOwner AllocTarget(const DibInfo& info) {
  const std::uint64_t pixelBytes =
      DibRowStride(24, info.width) * static_cast<std::uint64_t>(info.Rows());
  CGlobalOwner block = GlobalAllocOwned(GHND, kWindowsInfoHeaderSize + pixelBytes);
  if (!block)
    return nullptr;
  const CGlobalLock lock(block.get());
  std::byte* p = lock.get();
  Put32(p, kWindowsInfoHeaderSize);
  Put32(p + 4, static_cast<std::uint32_t>(info.width));
  Put32(p + 8, static_cast<std::uint32_t>(info.Rows()));
  Put16(p + 12, info.planes);
  Put16(p + 14, 24);
  Put32(p + 16, BI_RGB);
  Put32(p + 20, info.imageSize);
  Put32(p + 24, info.xPelsPerMeter);
  Put32(p + 28, info.yPelsPerMeter);
  Put32(p + 32, 0);
  Put32(p + 36, info.clrImportant);
  return block;
}

TargetImage LockedTarget(std::byte* block, const DibInfo& info) {
  return {block + kWindowsInfoHeaderSize, DibRowStride(24, info.width), info.width, info.Rows()};
}

bool HoldsAllRows(const DibInfo& info, std::uint64_t available) {
  return static_cast<std::uint64_t>(info.Rows()) <=
         available / DibRowStride(info.bitCount, info.width);
}

void Palette::Load(const std::byte* entries, std::size_t count, std::size_t entrySize) {
  const std::size_t n = std::min(count, m_entries.size());
  for (std::size_t i = 0; i < n; ++i) {
    const std::byte* e = entries + i * entrySize;
    m_entries[i] = {e[0], e[1], e[2], std::byte{0}};
  }
}

bool IsConvertibleBitCount(std::uint32_t bitCount) {
  switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      return true;
    default:
      return false;
  }
}

std::uint8_t RowConverter::Channel::Extract(std::uint32_t pixel) const {
  const std::uint32_t value = (pixel & mask) >> shift;
  if (bits > 8)
    return static_cast<std::uint8_t>(value >> (bits - 8));
  if (!replicate || bits == 0)
    return static_cast<std::uint8_t>(value << (8 - bits));
  std::uint32_t repeated = value;
  unsigned filled = bits;
  for (; filled < 8; filled += bits)
    repeated = repeated << bits | value;
  return static_cast<std::uint8_t>(repeated >> (filled - 8));
}

RowConverter::RowConverter(const PixelFormat& format, std::int64_t width)
    : m_width(static_cast<std::size_t>(width)), m_palette(format.palette) {
  const auto channel = [&format](std::uint32_t mask) {
    Channel c;
    c.mask = mask;
    c.replicate = format.scaling == FieldScaling::replicate;
    if (mask != 0) {
      c.shift = static_cast<unsigned>(std::countr_zero(mask));
      c.bits = static_cast<unsigned>(std::bit_width(mask >> c.shift));
    }
    return c;
  };
  m_red = channel(format.masks.red);
  m_green = channel(format.masks.green);
  m_blue = channel(format.masks.blue);
  switch (format.bitCount) {
    case 1:
    case 4:
      BuildExpansion(format.bitCount);
      m_convert =
          format.bitCount == 1 ? &RowConverter::ConvertPacked<8> : &RowConverter::ConvertPacked<2>;
      break;
    case 8:
      m_convert = &RowConverter::Convert8;
      break;
    case 16:
      m_convert = &RowConverter::Convert16;
      break;
    case 24:
      m_convert = &RowConverter::Convert24;
      break;
    case 32:
      // Whole bytes read the same either way.
      m_convert =
          format.masks == kMasks888 ? &RowConverter::Convert32 : &RowConverter::Convert32Masked;
      break;
    default:
      throw std::invalid_argument("RowConverter: unsupported bit count");
  }
}

// Every byte value's pixels, looked up once per image, so that a row costs
// one copy per source byte.
void RowConverter::BuildExpansion(unsigned bitsPerPixel) {
  const unsigned perByte = 8 / bitsPerPixel;
  const unsigned indexMask = (1u << bitsPerPixel) - 1;
  m_expansion.resize(256 * perByte * 3);
  for (unsigned value = 0; value < 256; ++value) {
    for (unsigned k = 0; k < perByte; ++k) {
      const unsigned index = (value >> (8 - bitsPerPixel * (k + 1))) & indexMask;
      std::memcpy(&m_expansion[(value * perByte + k) * 3], (*m_palette)[index].data(), 3);
    }
  }
}

// Most significant bits first: the leftmost pixel is the high bit or nibble.
template <std::size_t PixelsPerByte>
void RowConverter::ConvertPacked(const std::byte* src, std::byte* dst) const {
  constexpr std::size_t chunk = PixelsPerByte * 3;
  const std::size_t whole = m_width / PixelsPerByte;
  const std::size_t rest = m_width % PixelsPerByte;
  for (std::size_t i = 0; i < whole; ++i) {
    std::memcpy(dst + i * chunk, &m_expansion[std::to_integer<std::size_t>(src[i]) * chunk], chunk);
  }
  if (rest != 0) {
    std::memcpy(dst + whole * chunk, &m_expansion[std::to_integer<std::size_t>(src[whole]) * chunk],
                rest * 3);
  }
}

// Four bytes per pixel where the next pixel overwrites the fourth; the last
// pixel gets exactly three, so nothing is written past the row.
void RowConverter::Convert8(const std::byte* src, std::byte* dst) const {
  const Palette& palette = *m_palette;
  const std::size_t last = m_width - 1;
  for (std::size_t x = 0; x < last; ++x) {
    std::memcpy(dst + 3 * x, palette[std::to_integer<std::size_t>(src[x])].data(), 4);
  }
  std::memcpy(dst + 3 * last, palette[std::to_integer<std::size_t>(src[last])].data(), 3);
}

void RowConverter::Convert16(const std::byte* src, std::byte* dst) const {
  for (std::size_t x = 0; x < m_width; ++x) {
    const std::uint32_t v = Get16(src + 2 * x);
    dst[3 * x] = std::byte{m_blue.Extract(v)};
    dst[3 * x + 1] = std::byte{m_green.Extract(v)};
    dst[3 * x + 2] = std::byte{m_red.Extract(v)};
  }
}

void RowConverter::Convert24(const std::byte* src, std::byte* dst) const {
  std::memcpy(dst, src, 3 * m_width);
}

void RowConverter::Convert32(const std::byte* src, std::byte* dst) const {
  const std::size_t last = m_width - 1;
  for (std::size_t x = 0; x < last; ++x)
    std::memcpy(dst + 3 * x, src + 4 * x, 4);
  std::memcpy(dst + 3 * last, src + 4 * last, 3);
}

void RowConverter::Convert32Masked(const std::byte* src, std::byte* dst) const {
  for (std::size_t x = 0; x < m_width; ++x) {
    const std::uint32_t v = Get32(src + 4 * x);
    dst[3 * x] = std::byte{m_blue.Extract(v)};
    dst[3 * x + 1] = std::byte{m_green.Extract(v)};
    dst[3 * x + 2] = std::byte{m_red.Extract(v)};
  }
}

DibReadError ConvertRows(RowSource& source, const RowConverter& converter,
                         const TargetImage& target, bool topDown) {
  CProgressWalk walk(target.rows);
  for (std::int64_t i = 0; i < target.rows; ++i) {
    walk.Step(i);
    const std::byte* row = source.NextRow();
    if (!row)
      return DibReadError::TruncatedPixels;
    converter.Convert(row, target.Row(topDown ? target.rows - 1 - i : i));
  }
  return DibReadError::None;
}

namespace {

// The output position of the run-length decoder. The column may pass the
// width (after a delta); pixels there are dropped.
class RunLengthWriter {
 public:
  RunLengthWriter(const Palette& palette, const TargetImage& target)
      : m_palette(palette), m_target(target) {}

  bool Done() const { return m_row >= m_target.rows; }
  // The last row is reached and written to its end, or beyond.
  bool LastRowComplete() const {
    return Done() || (m_row == m_target.rows - 1 && m_col >= m_target.width);
  }
  void EndOfLine() {
    ++m_row;
    m_col = 0;
  }
  void Delta(unsigned dx, unsigned dy) {
    m_col += dx;
    m_row += dy;
  }
  // `count` pixels of one colour.
  void Fill(unsigned count, unsigned index) {
    const std::int64_t n = std::min<std::int64_t>(count, m_target.width - m_col);
    if (n <= 0)
      return;
    std::byte* p = m_target.Row(m_row) + 3 * m_col;
    const Palette::Entry& colour = m_palette[index];
    for (std::int64_t k = 0; k < n; ++k)
      std::memcpy(p + 3 * k, colour.data(), 3);
    m_col += n;
  }
  void Put(unsigned index) {
    if (m_col >= m_target.width)
      return;
    std::memcpy(m_target.Row(m_row) + 3 * m_col, m_palette[index].data(), 3);
    ++m_col;
  }

 private:
  const Palette& m_palette;
  const TargetImage& m_target;
  std::int64_t m_row = 0;
  std::int64_t m_col = 0;
};

void EncodedRun(RunLengthWriter& out, bool rle4, unsigned count, unsigned value) {
  if (!rle4) {
    out.Fill(count, value);
    return;
  }
  // RLE4 alternates the two nibbles, the high one first.
  for (unsigned k = 0; k < count; ++k)
    out.Put(k % 2 == 0 ? value >> 4 : value & 0x0F);
}

// False when the data ended inside the run; the pixels that arrived are
// written. A run that took an odd number of bytes is padded to a word.
bool AbsoluteRun(ByteCursor& in, RunLengthWriter& out, bool rle4, unsigned count) {
  const unsigned bytes = rle4 ? (count + 1) / 2 : count;
  std::uint8_t b = 0;
  for (unsigned i = 0; i < bytes; ++i) {
    if (!in.Next(b))
      return false;
    if (!rle4) {
      out.Put(b);
      continue;
    }
    out.Put(static_cast<unsigned>(b >> 4));
    if (2 * i + 1 < count)
      out.Put(b & 0x0Fu);
  }
  return bytes % 2 == 0 || in.Next(b);
}

}  // namespace

bool DecodeRunLength(ByteCursor& in, bool rle4, const Palette& palette, const TargetImage& target) {
  RunLengthWriter out(palette, target);
  std::uint8_t first = 0;
  std::uint8_t second = 0;
  while (!out.Done()) {
    if (!in.Next(first) || !in.Next(second))
      return out.LastRowComplete();
    if (first != 0) {
      EncodedRun(out, rle4, first, second);
      continue;
    }
    switch (second) {
      case 0:  // end of line
        out.EndOfLine();
        break;
      case 1:  // end of bitmap
        return true;
      case 2: {  // delta: right dx, up dy
        std::uint8_t dx = 0;
        std::uint8_t dy = 0;
        if (!in.Next(dx) || !in.Next(dy))
          return out.LastRowComplete();
        out.Delta(dx, dy);
        break;
      }
      default:
        if (!AbsoluteRun(in, out, rle4, second))
          return out.LastRowComplete();
        break;
    }
  }
  return true;
}

}  // namespace qov::dib
