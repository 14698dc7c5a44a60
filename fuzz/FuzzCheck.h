#pragma once
// What the fuzz targets require of a reader's result.

#include <cstdint>
#include <cstdlib>

#include "image/DibFile.h"

namespace qov::fuzz {

inline void Require(bool condition) {
  if (!condition)
    std::abort();
}

// A refusal carries its reason; a result carries none.
inline void RequireConsistent(const PictureReadResult& read) {
  Require(static_cast<bool>(read) == (read.failure.reason == DibReadError::None));
}

// A block in the document's layout: 40-byte header, 24 bits, no colour
// table, exactly stride × height + 40 bytes.
inline void RequireDocumentBlock(HGLOBAL h) {
  const CGlobalLock lock(h);
  const auto* p = reinterpret_cast<const std::uint8_t*>(lock.get());
  const auto field = [p](int at) {
    return static_cast<std::uint32_t>(p[at] | p[at + 1] << 8 | p[at + 2] << 16 | p[at + 3] << 24);
  };
  const std::uint64_t width = field(4);
  const std::uint64_t height = field(8);
  Require(field(0) == 40 && (field(12) >> 16) == 24 && field(16) == 0 && field(32) == 0);
  Require(width > 0 && width <= 0x7FFFFFFF && height > 0 && height <= 0x7FFFFFFF);
  Require(lock.size() == 40 + (3 * width + 3) / 4 * 4 * height);
}

}  // namespace qov::fuzz
