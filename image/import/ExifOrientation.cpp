// Finding the orientation tag in an EXIF segment: "Exif\0\0", then a small
// TIFF structure whose first directory holds it.

#include "image/import/ExifOrientation.h"

#include <cstring>

namespace qov::import {

namespace {

constexpr std::size_t kExifHeader = 6;
constexpr std::size_t kEntrySize = 12;
constexpr unsigned kOrientationTag = 0x0112;
constexpr unsigned kShortType = 3;

class CTiffBytes {
 public:
  CTiffBytes(const std::uint8_t* data, std::size_t size)
      : m_data(data), m_size(size), m_bigEndian(size >= 2 && data[0] == 'M') {}

  bool Has(std::uint64_t at, std::uint64_t count) const {
    return at <= m_size && count <= m_size - at;
  }
  unsigned Get16(std::size_t at) const {
    return m_bigEndian ? unsigned{m_data[at]} << 8 | m_data[at + 1]
                       : unsigned{m_data[at + 1]} << 8 | m_data[at];
  }
  std::uint32_t Get32(std::size_t at) const {
    const std::uint32_t high = Get16(m_bigEndian ? at : at + 2);
    const std::uint32_t low = Get16(m_bigEndian ? at + 2 : at);
    return high << 16 | low;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  bool m_bigEndian;
};

}  // namespace

int ExifOrientation(const std::uint8_t* data, std::size_t size, int otherwise) {
  if (size < kExifHeader + 8 || std::memcmp(data, "Exif\0\0", kExifHeader) != 0)
    return otherwise;
  const CTiffBytes tiff(data + kExifHeader, size - kExifHeader);
  if (std::memcmp(data + kExifHeader, "II*\0", 4) != 0 &&
      std::memcmp(data + kExifHeader, "MM\0*", 4) != 0)
    return otherwise;
  const std::uint32_t directory = tiff.Get32(4);
  if (!tiff.Has(directory, 2))
    return otherwise;
  const unsigned entries = tiff.Get16(directory);
  for (unsigned i = 0; i < entries; ++i) {
    const std::uint64_t entry = directory + 2 + std::uint64_t{i} * kEntrySize;
    if (!tiff.Has(entry, kEntrySize))
      return otherwise;
    const auto at = static_cast<std::size_t>(entry);
    if (tiff.Get16(at) == kOrientationTag && tiff.Get16(at + 2) == kShortType) {
      const unsigned value = tiff.Get16(at + 8);
      return value >= 1 && value <= 8 ? static_cast<int>(value) : otherwise;
    }
  }
  return otherwise;
}

}  // namespace qov::import
