// The shared steps of the picture readers.

#include "image/import/PictureBlock.h"

#include <cmath>
#include <cstring>

namespace qov::import {

CGlobalOwner NewPictureBlock(std::uint64_t width, std::uint64_t height, DibResolution resolution,
                             CMemoryBudget& budget, PictureReadFailure& failure) {
  constexpr std::uint64_t kMaxSide = 0x7FFFFFFF;
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
    failure.reason = DibReadError::BadDimensions;
    return nullptr;
  }
  if (!budget.Admit(width, height)) {
    failure.reason = DibReadError::OverBudget;
    return nullptr;
  }
  dib::DibInfo info;
  info.width = static_cast<std::int64_t>(width);
  info.height = static_cast<std::int64_t>(height);
  info.planes = 1;
  info.bitCount = 24;
  info.xPelsPerMeter = resolution.xPelsPerMeter;
  info.yPelsPerMeter = resolution.yPelsPerMeter;
  failure.reason = dib::CheckGeometry(info, false);
  if (failure.reason != DibReadError::None)
    return nullptr;
  CGlobalOwner block = dib::AllocTarget(info);
  if (!block)
    failure.reason = DibReadError::OutOfMemory;
  return block;
}

bool SwapsAxes(int orientation) {
  return orientation >= 5 && orientation <= kOrientationLeftBottom;
}

DibResolution ResolutionPerUnit(double x, double y, double unitMetres) {
  // Written so that NaN fails the range check too.
  const auto pelsPerMeter = [unitMetres](double perUnit) -> std::uint32_t {
    const double rounded = std::round(perUnit / unitMetres);
    return rounded >= 1 && rounded <= kMaxPelsPerMeter ? static_cast<std::uint32_t>(rounded) : 0;
  };
  const DibResolution resolution{pelsPerMeter(x), pelsPerMeter(y)};
  return resolution.Known() ? resolution : DibResolution{};
}

DibResolution ResolutionPerTiffUnit(double x, double y, int unit) {
  switch (unit) {
    case kResolutionUnitInch:
      return ResolutionPerUnit(x, y, kMetresPerInch);
    case kResolutionUnitCentimetre:
      return ResolutionPerUnit(x, y, kMetresPerCentimetre);
    default:
      return {};
  }
}

DibResolution OrientedResolution(DibResolution stored, int orientation) {
  return SwapsAxes(orientation) ? DibResolution{stored.yPelsPerMeter, stored.xPelsPerMeter}
                                : stored;
}

COrientedRows::COrientedRows(std::byte* block, int orientation, std::uint64_t storedWidth,
                             std::uint64_t storedHeight)
    : m_orientation(orientation >= kOrientationTopLeft && orientation <= kOrientationLeftBottom
                        ? orientation
                        : kOrientationTopLeft),
      m_storedWidth(storedWidth),
      m_storedHeight(storedHeight) {
  dib::DibInfo info;
  const bool swapped = SwapsAxes(m_orientation);
  info.width = static_cast<std::int64_t>(swapped ? storedHeight : storedWidth);
  info.height = static_cast<std::int64_t>(swapped ? storedWidth : storedHeight);
  m_target = dib::LockedTarget(block, info);
}

// (x, y) counted from the top left of the shown picture; the block's rows
// go from the bottom up.
std::uint8_t* COrientedRows::Shown(std::uint64_t x, std::uint64_t y) const {
  const auto row = static_cast<std::int64_t>(static_cast<std::uint64_t>(m_target.rows) - 1 - y);
  return reinterpret_cast<std::uint8_t*>(m_target.Row(row)) + 3 * x;
}

std::uint8_t* COrientedRows::WholeRow(std::uint64_t row) const {
  switch (m_orientation) {
    case 1:
      return Shown(0, row);
    case 4:
      return Shown(0, m_storedHeight - 1 - row);
    default:
      return nullptr;
  }
}

void COrientedRows::PutRow(std::uint64_t row, const std::uint8_t* bgr) const {
  if (std::uint8_t* whole = WholeRow(row)) {
    std::memcpy(whole, bgr, 3 * m_storedWidth);
    return;
  }
  const std::uint64_t lastColumn = m_storedWidth - 1;
  const std::uint64_t lastRow = m_storedHeight - 1;
  for (std::uint64_t x = 0; x < m_storedWidth; ++x) {
    std::uint8_t* to = nullptr;
    switch (m_orientation) {
      case 2:
        to = Shown(lastColumn - x, row);
        break;
      case 3:
        to = Shown(lastColumn - x, lastRow - row);
        break;
      case 5:
        to = Shown(row, x);
        break;
      case 6:
        to = Shown(lastRow - row, x);
        break;
      case 7:
        to = Shown(lastRow - row, lastColumn - x);
        break;
      default:
        to = Shown(row, lastColumn - x);
        break;
    }
    std::memcpy(to, bgr + 3 * x, 3);
  }
}

}  // namespace qov::import
