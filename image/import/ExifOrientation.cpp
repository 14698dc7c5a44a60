// Finding tags in an EXIF segment: "Exif\0\0", then a small TIFF structure
// whose first directory holds them.

#include "image/import/ExifOrientation.h"

#include <cstring>
#include <limits>
#include <optional>

#include "image/import/PictureBlock.h"

namespace qov::import {

namespace {

constexpr std::size_t kExifHeader = 6;
constexpr std::size_t kEntrySize = 12;
constexpr std::size_t kValueField = 8;  // of an entry: the value, or where it lies
constexpr unsigned kOrientationTag = 0x0112;
constexpr unsigned kXResolutionTag = 0x011A;
constexpr unsigned kYResolutionTag = 0x011B;
constexpr unsigned kResolutionUnitTag = 0x0128;
constexpr unsigned kShortType = 3;
constexpr unsigned kRationalType = 5;

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

// The TIFF structure of an EXIF segment, or nothing for another segment.
std::optional<CTiffBytes> ExifTiff(const std::uint8_t* data, std::size_t size) {
  if (size < kExifHeader + 8 || std::memcmp(data, "Exif\0\0", kExifHeader) != 0)
    return std::nullopt;
  if (std::memcmp(data + kExifHeader, "II*\0", 4) != 0 &&
      std::memcmp(data + kExifHeader, "MM\0*", 4) != 0)
    return std::nullopt;
  return CTiffBytes(data + kExifHeader, size - kExifHeader);
}

// Where the first directory's entry for `tag` of `type` lies, or nothing.
std::optional<std::size_t> FindEntry(const CTiffBytes& tiff, unsigned tag, unsigned type) {
  const std::uint32_t directory = tiff.Get32(4);
  if (!tiff.Has(directory, 2))
    return std::nullopt;
  const unsigned entries = tiff.Get16(directory);
  for (unsigned i = 0; i < entries; ++i) {
    const std::uint64_t entry = directory + 2 + std::uint64_t{i} * kEntrySize;
    if (!tiff.Has(entry, kEntrySize))
      return std::nullopt;
    const auto at = static_cast<std::size_t>(entry);
    if (tiff.Get16(at) == tag && tiff.Get16(at + 2) == type)
      return at;
  }
  return std::nullopt;
}

// A rational entry's first value, which lies elsewhere in the structure; NaN
// when it is missing or its denominator is 0.
double RationalValue(const CTiffBytes& tiff, unsigned tag) {
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  const std::optional<std::size_t> entry = FindEntry(tiff, tag, kRationalType);
  if (!entry)
    return kNone;
  const std::uint32_t at = tiff.Get32(*entry + kValueField);
  if (!tiff.Has(at, 8) || tiff.Get32(at + 4) == 0)
    return kNone;
  return static_cast<double>(tiff.Get32(at)) / tiff.Get32(at + 4);
}

}  // namespace

int ExifOrientation(const std::uint8_t* data, std::size_t size, int otherwise) {
  const std::optional<CTiffBytes> tiff = ExifTiff(data, size);
  if (!tiff)
    return otherwise;
  const std::optional<std::size_t> entry = FindEntry(*tiff, kOrientationTag, kShortType);
  if (!entry)
    return otherwise;
  const unsigned value = tiff->Get16(*entry + kValueField);
  return value >= 1 && value <= 8 ? static_cast<int>(value) : otherwise;
}

DibResolution ExifResolution(const std::uint8_t* data, std::size_t size) {
  const std::optional<CTiffBytes> tiff = ExifTiff(data, size);
  if (!tiff)
    return {};
  const std::optional<std::size_t> unit = FindEntry(*tiff, kResolutionUnitTag, kShortType);
  return ResolutionPerTiffUnit(
      RationalValue(*tiff, kXResolutionTag), RationalValue(*tiff, kYResolutionTag),
      unit ? static_cast<int>(tiff->Get16(*unit + kValueField)) : kResolutionUnitInch);
}

}  // namespace qov::import
