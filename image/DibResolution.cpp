// The resolution fields of a block's information header.

#include "image/DibResolution.h"

#include "image/DibBlock.h"
#include "image/DibDecode.h"

namespace qov {

namespace {

constexpr std::size_t kXPelsPerMeterAt = 24;
constexpr std::size_t kYPelsPerMeterAt = 28;

// The larger headers (version 4 and 5) keep the 40-byte layout in front.
bool HasInfoHeader(const std::byte* block) {
  return block && dib::Get32(block) >= kWindowsInfoHeaderSize;
}

bool InRange(std::uint32_t pelsPerMeter) {
  return pelsPerMeter > 0 && pelsPerMeter <= kMaxPelsPerMeter;
}

}  // namespace

DibResolution GetDibResolution(const std::byte* block) {
  if (!HasInfoHeader(block))
    return {};
  const DibResolution resolution{dib::Get32(block + kXPelsPerMeterAt),
                                 dib::Get32(block + kYPelsPerMeterAt)};
  if (!InRange(resolution.xPelsPerMeter) || !InRange(resolution.yPelsPerMeter))
    return {};
  return resolution;
}

void SetDibResolution(std::byte* block, DibResolution resolution) {
  if (!HasInfoHeader(block))
    return;
  dib::Put32(block + kXPelsPerMeterAt, resolution.xPelsPerMeter);
  dib::Put32(block + kYPelsPerMeterAt, resolution.yPelsPerMeter);
}

DibResolution GetDibResolution(HGLOBAL h) {
  if (!h || GlobalSize(h) < kWindowsInfoHeaderSize)
    return {};
  const CGlobalLock lock(h);
  return GetDibResolution(lock.get());
}

}  // namespace qov
