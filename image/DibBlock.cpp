// Helpers over a packed bitmap block.

#include "image/DibBlock.h"

#include <cstring>

#include "image/DibDecode.h"

namespace qov {

using dib::Get16;
using dib::Get32;

namespace {

bool IsWindowsHeader(const std::byte* p) {
  return Get32(p) == kWindowsInfoHeaderSize;
}

}  // namespace

std::byte* FindDibBits(std::byte* p) {
  return p + Get32(p) + PaletteSize(p);
}

const std::byte* FindDibBits(const std::byte* p) {
  return p + Get32(p) + PaletteSize(p);
}

DWORD DibWidth(const std::byte* p) {
  return IsWindowsHeader(p) ? Get32(p + 4) : Get16(p + 4);
}

DWORD DibHeight(const std::byte* p) {
  return IsWindowsHeader(p) ? Get32(p + 8) : Get16(p + 6);
}

WORD PaletteSize(const std::byte* p) {
  const unsigned entrySize = IsWindowsHeader(p) ? 4 : 3;
  return static_cast<WORD>(DibNumColors(p) * entrySize);
}

WORD DibNumColors(const std::byte* p) {
  if (IsWindowsHeader(p)) {
    const DWORD used = Get32(p + 32);
    if (used != 0)
      return static_cast<WORD>(used);
  }
  return DefaultColorCount(IsWindowsHeader(p) ? Get16(p + 14) : Get16(p + 10));
}

std::uint64_t DibRowStride(std::uint32_t bitCount, std::int64_t width) {
  return (bitCount * static_cast<std::uint64_t>(width) + 31) / 32 * 4;
}

WORD DefaultColorCount(WORD bitCount) {
  switch (bitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

bool IsDocumentDib(HGLOBAL h) {
  const CGlobalLock lock(h);
  const std::byte* p = lock.get();
  if (!p || lock.size() < kWindowsInfoHeaderSize || Get32(p) != kWindowsInfoHeaderSize)
    return false;
  const auto width = static_cast<std::int32_t>(Get32(p + 4));
  const auto height = static_cast<std::int32_t>(Get32(p + 8));
  return width > 0 && height > 0 && Get16(p + 12) == 1 && Get16(p + 14) == 24 &&
         Get32(p + 16) == 0 && Get32(p + 32) == 0 &&
         lock.size() ==
             kWindowsInfoHeaderSize + DibRowStride(24, width) * static_cast<std::uint64_t>(height);
}

CGlobalOwner CopyDibBlock(HGLOBAL h) {
  if (!h)
    return nullptr;
  const std::size_t size = GlobalSize(h);
  // Every byte is copied over, so a reused block need not be cleared first.
  CGlobalOwner copy = GlobalAllocOwned(GMEM_MOVEABLE, size);
  if (!copy)
    return nullptr;
  const CGlobalLock from(h);
  const CGlobalLock to(copy.get());
  std::memcpy(to.get(), from.get(), size);
  return copy;
}

}  // namespace qov
