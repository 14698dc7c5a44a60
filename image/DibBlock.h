#pragma once
// Helpers over a packed device-independent bitmap held in a global block:
// information header, colour table, bottom-up rows padded to 4 bytes. The
// helpers that take a pointer expect a locked block.

#include <cstdint>

#include "platform/DC.h"
#include "platform/GlobalMemory.h"
#include "platform/Types.h"

namespace qov {

inline constexpr DWORD kWindowsInfoHeaderSize = 40;
inline constexpr DWORD kCoreHeaderSize = 12;

// The first pixel row: header size + PaletteSize.
std::byte* FindDibBits(std::byte* p);
const std::byte* FindDibBits(const std::byte* p);
// The 32-bit width of a 40-byte header, else the 16-bit width of a core header.
DWORD DibWidth(const std::byte* p);
// The 32-bit height of a 40-byte header, else the 16-bit height of a core header.
DWORD DibHeight(const std::byte* p);
// DibNumColors × 4 after a 40-byte header, × 3 otherwise, as a 16-bit quantity.
WORD PaletteSize(const std::byte* p);
// Colours-used of a 40-byte header when non-zero (as 16 bits), else 2, 16 or
// 256 for 1, 4 or 8 bits per pixel, else 0.
WORD DibNumColors(const std::byte* p);

// Bytes of one stored row of `width` pixels of `bitCount` bits, padded to 4
// bytes; `width` is taken as unsigned.
std::uint64_t DibRowStride(std::uint32_t bitCount, std::int64_t width);

// The colour-table length that a bit count implies: 2, 16 or 256 for 1, 4
// or 8 bits per pixel, else 0.
WORD DefaultColorCount(WORD bitCount);

// Whether the block is exactly in the document's layout: a 40-byte header,
// 24 bits, uncompressed, no colour table, rows from the bottom, and no more
// or fewer bytes than the rows need.
bool IsDocumentDib(HGLOBAL h);

// A new block with the same bytes (its whole allocated size); null for a null
// handle or when memory cannot be had.
CGlobalOwner CopyDibBlock(HGLOBAL h);

// Draws the part srcRect of the bitmap in h into destRect of dc (srcRect in
// bitmap pixels, its top counted from the top of the picture). Returns the
// scan lines drawn, 0 for a null handle.
int PaintDib(CDC* dc, const CRect& destRect, HGLOBAL h, const CRect& srcRect,
             void* palette = nullptr);

}  // namespace qov
