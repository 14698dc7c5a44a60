#include "platform/qt/DibImage.h"

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <limits>

namespace qov {
namespace {

std::uint32_t ReadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) |
         (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t ReadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void WriteU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

struct DibHeader {
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: rows stored top-down
  int bitCount = 0;
  std::uint32_t compression = 0;
  const std::uint8_t* colors = nullptr;
  int colorEntrySize = 4;
  std::int64_t colorCount = 0;    // entries a pixel may index
  std::int64_t tableEntries = 0;  // entries stored before the rows
};

bool ParseHeader(const std::uint8_t* p, DibHeader& h) {
  const std::uint32_t size = ReadU32(p);
  if (size >= 40) {
    h.width = static_cast<std::int32_t>(ReadU32(p + 4));
    h.height = static_cast<std::int32_t>(ReadU32(p + 8));
    h.bitCount = ReadU16(p + 14);
    h.compression = ReadU32(p + 16);
    h.tableEntries = ReadU32(p + 32) & 0xFFFF;
  } else {
    h.width = ReadU16(p + 4);
    h.height = ReadU16(p + 6);
    h.bitCount = ReadU16(p + 10);
    h.colorEntrySize = 3;
  }
  if (h.bitCount <= 8 && h.tableEntries == 0)
    h.tableEntries = std::int64_t{1} << h.bitCount;
  h.colorCount = std::min<std::int64_t>(h.tableEntries, 256);
  h.colors = p + size;
  const bool known =
      h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 24 || h.bitCount == 32;
  return known && h.compression == 0 && h.width > 0 && h.height != 0;
}

QRgb ColorAt(const DibHeader& h, const std::uint8_t* row, std::int64_t x) {
  switch (h.bitCount) {
    case 24: {
      const std::uint8_t* px = row + 3 * x;
      return qRgb(px[2], px[1], px[0]);
    }
    case 32: {
      const std::uint8_t* px = row + 4 * x;
      return qRgb(px[2], px[1], px[0]);
    }
    default: {
      const std::int64_t perByte = 8 / h.bitCount;
      const int shift = static_cast<int>(8 - h.bitCount * (1 + x % perByte));
      const std::int64_t index = (row[x / perByte] >> shift) & ((1 << h.bitCount) - 1);
      if (index >= h.colorCount)
        return qRgb(0, 0, 0);
      const std::uint8_t* c = h.colors + index * h.colorEntrySize;
      return qRgb(c[2], c[1], c[0]);
    }
  }
}

void ConvertRow(const DibHeader& h, const std::uint8_t* row, std::int64_t x0, int count,
                QRgb* out) {
  if (h.bitCount == 24) {
    const std::uint8_t* px = row + 3 * x0;
    for (int i = 0; i < count; ++i, px += 3)
      out[i] = 0xFF000000u | (px[2] << 16) | (px[1] << 8) | px[0];
    return;
  }
  for (int i = 0; i < count; ++i)
    out[i] = ColorAt(h, row, x0 + i);
}

}  // namespace

QImage DibPartToImage(const DibSource& src, QRect rect, QRect* drawn) {
  if (!src.info || !src.bits)
    return {};
  DibHeader h;
  if (!ParseHeader(static_cast<const std::uint8_t*>(src.info), h))
    return {};
  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  const std::int64_t stride = ((h.width * h.bitCount + 31) / 32) * 4;

  // In bottom-up row numbers, what exists and what the caller passed.
  const std::int64_t firstRow = std::max<std::int64_t>({0, rect.y(), src.startScan});
  const std::int64_t endRow = std::min<std::int64_t>(
      {rows, std::int64_t{rect.y()} + rect.height(), src.startScan + src.scanLines});
  const std::int64_t firstCol = std::max<std::int64_t>(0, rect.x());
  const std::int64_t endCol =
      std::min<std::int64_t>(h.width, std::int64_t{rect.x()} + rect.width());
  if (firstRow >= endRow || firstCol >= endCol)
    return {};

  const int w = static_cast<int>(endCol - firstCol);
  const int hgt = static_cast<int>(endRow - firstRow);
  QImage image(w, hgt, QImage::Format_RGB32);
  if (image.isNull())
    return {};
  const auto* bits = static_cast<const std::uint8_t*>(src.bits);
  for (int i = 0; i < hgt; ++i) {
    const std::int64_t row = endRow - 1 - i;  // image row i, from the top
    const std::int64_t stored = h.height < 0 ? rows - 1 - row : row;
    const std::uint8_t* line = bits + (stored - src.startScan) * stride;
    ConvertRow(h, line, firstCol, w, reinterpret_cast<QRgb*>(image.scanLine(i)));
  }
  if (drawn) {
    const std::int64_t top = std::int64_t{rect.y()} + rect.height() - endRow;
    *drawn = QRect(static_cast<int>(firstCol - rect.x()), static_cast<int>(top), w, hgt);
  }
  return image;
}

bool IsWholeDib(const std::byte* p, std::size_t size, std::size_t* bitsOffset) {
  if (!p || size < 40)
    return false;
  const auto* u = reinterpret_cast<const std::uint8_t*>(p);
  const std::uint32_t headerSize = ReadU32(u);
  DibHeader h;
  if (headerSize < 40 || headerSize > 124 || !ParseHeader(u, h))
    return false;
  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  const std::int64_t stride = ((h.width * h.bitCount + 31) / 32) * 4;
  const std::int64_t palette = h.tableEntries * 4;
  const std::int64_t need = headerSize + palette;
  const auto available = static_cast<std::int64_t>(size);
  if (need > available || rows > (available - need) / stride)
    return false;
  if (bitsOffset)
    *bitsOffset = static_cast<std::size_t>(need);
  return true;
}

CGlobalOwner ImageToDib24(const QImage& image) {
  if (image.isNull() || image.width() <= 0 || image.height() <= 0)
    return nullptr;
  const std::int64_t width = image.width();
  const std::int64_t height = image.height();
  const std::int64_t stride = ((width * 24 + 31) / 32) * 4;
  if (stride * height > std::numeric_limits<std::int32_t>::max() - 40)
    return nullptr;

  QImage flat(image.size(), QImage::Format_RGB32);
  flat.fill(Qt::white);
  {
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
  }
  const std::size_t imageSize = static_cast<std::size_t>(stride * height);
  CGlobalOwner block = GlobalAllocOwned(GHND, 40 + imageSize);
  if (!block)
    return nullptr;
  {
    CGlobalLock lock(block.get());
    auto* p = reinterpret_cast<std::uint8_t*>(lock.get());
    WriteU32(p, 40);
    WriteU32(p + 4, static_cast<std::uint32_t>(width));
    WriteU32(p + 8, static_cast<std::uint32_t>(height));
    p[12] = 1;
    p[14] = 24;
    WriteU32(p + 20, static_cast<std::uint32_t>(imageSize));
    for (std::int64_t y = 0; y < height; ++y) {
      const auto* in =
          reinterpret_cast<const QRgb*>(flat.constScanLine(static_cast<int>(height - 1 - y)));
      std::uint8_t* out = p + 40 + y * stride;
      for (std::int64_t x = 0; x < width; ++x, out += 3) {
        out[0] = static_cast<std::uint8_t>(qBlue(in[x]));
        out[1] = static_cast<std::uint8_t>(qGreen(in[x]));
        out[2] = static_cast<std::uint8_t>(qRed(in[x]));
      }
    }
  }
  return block;
}

}  // namespace qov
