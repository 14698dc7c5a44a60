#pragma once
// The one number format of the DXF files: every coordinate goes through it,
// so equal values always give equal bytes.

#include <array>
#include <cstddef>
#include <string>

namespace qov {

// Digit counts the exports ask for.
inline constexpr int kDigitsRun = 5;      // auto-trace rows and columns
inline constexpr int kDigitsJoin = 6;     // crosses, dot-to-dot joins, diagonal links
inline constexpr int kDigitsStroke = 10;  // the stroke of a lone dot

// Digit counts outside 1 to kMaxDxfDigits are brought into that range.
inline constexpr int kMaxDxfDigits = 17;
// Room for the longest text of any digit count up to kMaxDxfDigits
// ("-1.2345678901234567e+308" is 24 characters). With 10 digits or fewer no
// text is longer than 17 characters.
inline constexpr std::size_t kDxfNumberBufferSize = 24;
using DxfNumberBuffer = std::array<char, kDxfNumberBufferSize>;

// Writes `value` with `digits` significant digits into `out` (no terminator)
// and returns the number of characters:
//  - the notation is chosen by the decimal exponent e of the exact value,
//    before any rounding (zero counts as e = -1): fixed-point when
//    -1 <= e <= digits - 1, scientific otherwise;
//  - the exact binary value is rounded to `digits` significant digits, a
//    half away from zero; a scientific mantissa that rounds up to 10 becomes
//    1 with the next exponent;
//  - trailing zeros of the fraction are dropped, the point always stays;
//  - scientific notation has "e", a sign and three exponent digits;
//  - a negative value gets a leading "-" (negative zero is written as zero).
// Examples with 6 digits: 0.34 → "0.34", 17.0000001788 → "17.", 0 → "0.",
// 9999999.7 → "1.e+007"; with 5 digits 99999.78 → "100000.".
// Infinities and NaN, which no export produces, come out as "inf", "-inf"
// and "nan".
std::size_t FormatDxfNumber(double value, int digits, DxfNumberBuffer& out);

// The same into `out`, which must have room for kDxfNumberBufferSize
// characters.
std::size_t FormatDxfNumber(double value, int digits, char* out);

// The same text as a string.
std::string FormatDxfNumber(double value, int digits);

}  // namespace qov
