#pragma once
// Small value types and constants that the system's code shares with the
// framework it was written for.

#include <cstdint>

namespace qov {

using UINT = unsigned int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;

// Positions and sizes in device pixels or logical units. 64-bit, so that a
// large picture times the display scale never wraps.
struct CPoint {
  std::int64_t x = 0;
  std::int64_t y = 0;
  friend bool operator==(const CPoint&, const CPoint&) = default;
};

struct CSize {
  std::int64_t cx = 0;
  std::int64_t cy = 0;
  friend bool operator==(const CSize&, const CSize&) = default;
};

struct CRect {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  std::int64_t Width() const { return right - left; }
  std::int64_t Height() const { return bottom - top; }
  friend bool operator==(const CRect&, const CRect&) = default;
};

// Dialog and message box results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Message box styles.
inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_YESNOCANCEL = 0x0003;
inline constexpr UINT MB_ICONEXCLAMATION = 0x0030;
inline constexpr UINT MB_ICONINFORMATION = 0x0040;
inline constexpr UINT MB_ICONSTOP = 0x0010;

// Mouse-message key state.
inline constexpr UINT MK_LBUTTON = 0x0001;
inline constexpr UINT MK_RBUTTON = 0x0002;

}  // namespace qov
