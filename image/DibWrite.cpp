// Writing a block as a .bmp file.

#include <algorithm>
#include <array>
#include <cstdlib>

#include "image/DibBlock.h"
#include "image/DibDecode.h"
#include "image/DibFile.h"

namespace qov {

using namespace dib;

bool WriteDibFile(HGLOBAL h, CFile& file) {
  if (!h)
    return false;
  const CGlobalLock lock(h);
  if (!lock || lock.size() < kWindowsInfoHeaderSize)
    return false;
  std::byte* p = lock.get();
  if (Get32(p) != kWindowsInfoHeaderSize)
    return false;

  const auto width = static_cast<std::int32_t>(DibWidth(p));
  const std::uint64_t rows =
      static_cast<std::uint64_t>(std::llabs(static_cast<std::int32_t>(DibHeight(p))));
  const std::uint32_t bitCount = Get16(p + 14);
  const std::uint32_t compression = Get32(p + 16);
  if (width < 0)
    return false;

  // Run-length data keeps the size its header gives; other data is measured.
  const std::uint64_t rowBytes = DibRowStride(bitCount, width);
  const std::uint64_t headerBytes = kWindowsInfoHeaderSize + PaletteSize(p);
  const std::uint64_t available = lock.size() - std::min<std::uint64_t>(headerBytes, lock.size());
  std::uint64_t imageSize = Get32(p + 20);
  if (compression != BI_RLE8 && compression != BI_RLE4) {
    if (rowBytes != 0 && rows > available / rowBytes)
      return false;
    imageSize = rowBytes * rows;
  }
  // Nothing is read past the block, and the sizes must fit the file header.
  if (headerBytes + imageSize > lock.size())
    return false;
  if (kFileHeaderSize + headerBytes + imageSize > kMaxFileSize)
    return false;
  Put32(p + 20, static_cast<std::uint32_t>(imageSize));

  std::array<std::byte, kFileHeaderSize> fileHeader{};
  Put16(fileHeader.data(), kBitmapFileType);
  Put32(fileHeader.data() + 2,
        static_cast<std::uint32_t>(kFileHeaderSize + headerBytes + imageSize));
  Put32(fileHeader.data() + 10, static_cast<std::uint32_t>(kFileHeaderSize + headerBytes));
  file.Write(fileHeader.data(), fileHeader.size());
  file.Write(p, static_cast<std::size_t>(headerBytes));
  InPieces(imageSize, [&file, pixels = p + headerBytes](std::uint64_t at, std::size_t count) {
    file.Write(pixels + at, count);
    return true;
  });
  return true;
}

}  // namespace qov
