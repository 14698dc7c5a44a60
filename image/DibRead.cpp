// Reading a .bmp file into the uniform 24-bit block.

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "image/DibDecode.h"
#include "image/DibFile.h"

namespace qov {

using namespace dib;

namespace {

// The file with its position and length known, so that every size the
// header declares is checked against what the file still holds before
// memory is taken for it.
class FileReader {
 public:
  explicit FileReader(CFile& file)
      : m_file(file),
        m_start(file.Seek(0, CFile::current)),
        m_pos(m_start),
        m_length(file.GetLength()) {}

  std::size_t Read(void* buffer, std::size_t count) {
    const std::size_t got = m_file.Read(buffer, count);
    m_pos += got;
    return got;
  }
  bool ReadExact(void* buffer, std::size_t count) { return Read(buffer, count) == count; }
  void Skip(std::uint64_t count) {
    if (count == 0)
      return;
    m_file.Seek(static_cast<std::int64_t>(count), CFile::current);
    m_pos += count;
  }
  std::uint64_t Remaining() const { return m_pos < m_length ? m_length - m_pos : 0; }
  // Where the reading is, from the bitmap's first byte.
  std::uint64_t Offset() const { return m_pos - m_start; }

 private:
  CFile& m_file;
  std::uint64_t m_start;
  std::uint64_t m_pos;
  std::uint64_t m_length;
};

// Run-length data comes in chunks of 32768 bytes; a code, a delta or an
// absolute run may straddle two of them.
class FileChunkCursor : public ByteCursor {
 public:
  explicit FileChunkCursor(FileReader& in) : m_in(in), m_chunk(kChunkSize) {}

 protected:
  bool Refill() override {
    const std::size_t got = m_in.Read(m_chunk.data(), m_chunk.size());
    if (got == 0)
      return false;
    SetSpan(m_chunk.data(), got);
    return true;
  }

 private:
  static constexpr std::size_t kChunkSize = 32768;
  FileReader& m_in;
  std::vector<std::byte> m_chunk;
};

// Uncompressed rows in file order, read a batch of whole rows at a time.
class FileRowSource : public RowSource {
 public:
  FileRowSource(FileReader& in, std::size_t stride, std::int64_t rows)
      : m_in(in),
        m_stride(stride),
        m_rowsLeft(static_cast<std::size_t>(rows)),
        m_batch(std::clamp<std::size_t>(kBatchBytes / stride, 1, m_rowsLeft)),
        m_buffer(m_batch * stride) {}

  const std::byte* NextRow() override {
    if (m_next == m_filled && !Fill())
      return nullptr;
    return m_buffer.data() + m_next++ * m_stride;
  }

 private:
  static constexpr std::size_t kBatchBytes = 1 << 16;

  bool Fill() {
    const std::size_t n = std::min(m_batch, m_rowsLeft);
    if (n == 0 || !m_in.ReadExact(m_buffer.data(), n * m_stride))
      return false;
    m_rowsLeft -= n;
    m_filled = n;
    m_next = 0;
    return true;
  }

  FileReader& m_in;
  std::size_t m_stride;
  std::size_t m_rowsLeft;
  std::size_t m_batch;
  std::vector<std::byte> m_buffer;
  std::size_t m_filled = 0;
  std::size_t m_next = 0;
};

// Bit fields: three masks, red, green and blue; and alpha, ignored.
constexpr std::size_t kMaskBytes = 12;
constexpr std::size_t kAlphaMaskBytes = 4;
constexpr std::uint32_t kOs2HeaderSize = 64;

// The information header. The 12-byte core header has its own layout; every
// other kind starts with the 40-byte layout. Of what follows, the masks that
// larger headers hold next go to `masks`; the rest is skipped.
DibReadError ReadInfoHeader(FileReader& in, DibInfo& info, std::size_t& entrySize,
                            std::array<std::byte, kMaskBytes>& masks) {
  std::array<std::byte, kWindowsInfoHeaderSize> header{};
  if (!in.ReadExact(header.data(), 4))
    return DibReadError::TruncatedHeader;
  const std::uint32_t size = Get32(header.data());
  if (size == kCoreHeaderSize) {
    if (!in.ReadExact(header.data() + 4, kCoreHeaderSize - 4))
      return DibReadError::TruncatedHeader;
    info = ParseCoreHeader(header.data());
    entrySize = 3;
    return DibReadError::None;
  }
  if (size < kWindowsInfoHeaderSize)
    return DibReadError::BadHeader;
  if (!in.ReadExact(header.data() + 4, kWindowsInfoHeaderSize - 4)) {
    return DibReadError::TruncatedHeader;
  }
  info = ParseInfoHeader(header.data());
  entrySize = 4;
  const std::uint64_t rest = size - kWindowsInfoHeaderSize;
  if (rest > in.Remaining())
    return DibReadError::TruncatedHeader;
  const std::size_t inHeader = rest >= kMaskBytes ? kMaskBytes : 0;
  in.ReadExact(masks.data(), inHeader);
  in.Skip(rest - inHeader);
  return DibReadError::None;
}

// 16- and 32-bit pixels whose channels the masks place; the OS/2 header's 3
// names Huffman coding instead.
bool HasBitFields(const DibInfo& info) {
  const bool fields = info.compression == BI_BITFIELDS ||
                      (info.compression == BI_ALPHABITFIELDS && info.bitCount == 32);
  return fields && (info.bitCount == 16 || info.bitCount == 32) &&
         info.headerSize != kOs2HeaderSize;
}

// The channel masks: the default layout's, or the file's, which follow a
// 40-byte header and lie inside the larger ones (read with the header).
DibReadError ReadChannelMasks(FileReader& in, const DibInfo& info,
                              std::array<std::byte, kMaskBytes>& fields, PixelFormat& format) {
  format.masks = info.bitCount == 16 ? kMasks555 : kMasks888;
  if (!HasBitFields(info))
    return DibReadError::None;
  if (info.headerSize == kWindowsInfoHeaderSize) {
    if (!in.ReadExact(fields.data(), fields.size()))
      return DibReadError::TruncatedHeader;
    if (info.compression == BI_ALPHABITFIELDS)
      in.Skip(std::min<std::uint64_t>(kAlphaMaskBytes, in.Remaining()));
  }
  format.masks = {Get32(fields.data()), Get32(fields.data() + 4), Get32(fields.data() + 8)};
  format.scaling = FieldScaling::replicate;
  return DibReadError::None;
}

// 24-bit pixels are taken as stored whatever the compression field says,
// except for the values that name an encoded stream (JPEG, PNG, RLE24).
DibReadError CheckFileFormat(const DibInfo& info, bool& runLength) {
  runLength = false;
  if (info.bitCount == 24) {
    return info.compression <= BI_BITFIELDS ? DibReadError::None
                                            : DibReadError::UnsupportedCompression;
  }
  if (info.compression == BI_RLE8 || info.compression == BI_RLE4) {
    runLength = true;
    return DibReadError::None;
  }
  if (HasBitFields(info))
    return DibReadError::None;
  if (info.compression != BI_RGB)
    return DibReadError::UnsupportedCompression;
  return IsConvertibleBitCount(info.bitCount) ? DibReadError::None
                                              : DibReadError::UnsupportedBitCount;
}

// Up to 8 bits per pixel the table is read, as far as the file goes and at
// most 256 entries; the rest is skipped. Deeper pixels ignore a table that
// colours-used declares, but their pixels still start after it.
void ReadColorTable(FileReader& in, const DibInfo& info, std::size_t entrySize, Palette& palette) {
  if (info.bitCount > 8) {
    if (entrySize == 4)
      in.Skip(std::uint64_t{info.clrUsed} * entrySize);
    return;
  }
  const std::uint64_t entries = DeclaredColorEntries(info);
  const std::size_t kept = static_cast<std::size_t>(std::min<std::uint64_t>(entries, 256));
  std::vector<std::byte> table(kept * entrySize);
  const std::size_t got = in.Read(table.data(), table.size());
  // An entry whose colour arrived counts even when its reserved byte did not.
  const std::size_t complete = got / entrySize + (got % entrySize >= 3 ? 1 : 0);
  palette.Load(table.data(), complete, entrySize);
  in.Skip((entries - kept) * entrySize);
}

// A file header's pixel offset is followed where it leaves a gap after the
// headers and the colour table and lies inside the file; any other offset
// is taken for a writer's mistake, and the pixels follow the table.
void SkipToPixels(FileReader& in, std::uint32_t pixelOffset) {
  if (pixelOffset > in.Offset() && pixelOffset - in.Offset() < in.Remaining())
    in.Skip(pixelOffset - in.Offset());
}

DibReadError ReadUncompressed(FileReader& in, const DibInfo& info, const PixelFormat& format,
                              const TargetImage& target) {
  const std::uint64_t stride = DibRowStride(info.bitCount, info.width);
  // Bottom-up 24-bit rows are already in the block's layout.
  if (info.bitCount == 24 && info.height > 0) {
    const bool whole = InPieces(stride * static_cast<std::uint64_t>(target.rows),
                                [&in, &target](std::uint64_t at, std::size_t count) {
                                  return in.ReadExact(target.pixels + at, count);
                                });
    return whole ? DibReadError::None : DibReadError::TruncatedPixels;
  }
  const RowConverter converter(format, info.width);
  FileRowSource rows(in, static_cast<std::size_t>(stride), target.rows);
  return ConvertRows(rows, converter, target, info.height < 0);
}

// Run-length data that ends before its last row leaves the rest black and
// sets `warning`.
CGlobalOwner ReadPixels(FileReader& in, const DibInfo& info, const PixelFormat& format,
                        bool runLength, DibReadError& error, DibReadError& warning) {
  if (!runLength && !HoldsAllRows(info, in.Remaining())) {
    error = DibReadError::TruncatedPixels;
    return nullptr;
  }
  return DecodeIntoNewBlock(info, error, [&](const TargetImage& target) {
    if (!runLength)
      return ReadUncompressed(in, info, format, target);
    FileChunkCursor cursor(in);
    if (!DecodeRunLength(cursor, info.compression == BI_RLE4, *format.palette, target))
      warning = DibReadError::TruncatedPixels;
    return DibReadError::None;
  });
}

CGlobalOwner ReadBitmap(CFile& file, CMemoryBudget* budget, DibReadError& error,
                        DibReadError& warning) {
  FileReader in(file);
  std::array<std::byte, kFileHeaderSize> fileHeader{};
  if (!in.ReadExact(fileHeader.data(), fileHeader.size()) ||
      Get16(fileHeader.data()) != kBitmapFileType) {
    error = DibReadError::NotABitmap;
    return nullptr;
  }
  DibInfo info;
  std::size_t entrySize = 0;
  bool runLength = false;
  std::array<std::byte, kMaskBytes> fields{};
  error = ReadInfoHeader(in, info, entrySize, fields);
  if (error == DibReadError::None)
    error = CheckFileFormat(info, runLength);
  if (error == DibReadError::None)
    error = CheckGeometry(info, runLength);
  if (error == DibReadError::None && budget &&
      !budget->Admit(static_cast<std::uint64_t>(info.width),
                     static_cast<std::uint64_t>(info.Rows())))
    error = DibReadError::OverBudget;
  Palette palette;
  PixelFormat format{info.bitCount, &palette, {}};
  if (error == DibReadError::None)
    error = ReadChannelMasks(in, info, fields, format);
  if (error != DibReadError::None)
    return nullptr;
  ReadColorTable(in, info, entrySize, palette);
  SkipToPixels(in, Get32(fileHeader.data() + 10));
  return ReadPixels(in, info, format, runLength, error, warning);
}

}  // namespace

PictureReadResult ReadDibFile(CFile& file, CMemoryBudget* budget) {
  DibReadError error = DibReadError::None;
  DibReadError ending = DibReadError::None;
  PictureReadResult read;
  try {
    read.block = ReadBitmap(file, budget, error, ending);
  } catch (const std::bad_alloc&) {
    error = DibReadError::OutOfMemory;
  }
  read.failure.reason = read ? DibReadError::None : error;
  read.failure.warning = read ? ending : DibReadError::None;
  return read;
}

}  // namespace qov
