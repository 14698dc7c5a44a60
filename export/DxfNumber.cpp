#include "export/DxfNumber.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace qov {
namespace {

__extension__ typedef unsigned __int128 Uint128;

constexpr int kMaxFastScale = 22;  // m · 10^22 < 2^53 · 2^73.1 stays below 2^128

constexpr std::array<std::uint64_t, 20> kPow10 = [] {
  std::array<std::uint64_t, 20> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i)
    p[i] = p[i - 1] * 10;
  return p;
}();

constexpr std::array<Uint128, kMaxFastScale + 1> kPow10Wide = [] {
  std::array<Uint128, kMaxFastScale + 1> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i)
    p[i] = p[i - 1] * 10;
  return p;
}();

// Powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPow10 = [] {
  std::array<double, 23> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i)
    p[i] = p[i - 1] * 10;
  return p;
}();

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

std::uint64_t Pow10(int n) {
  return kPow10[static_cast<std::size_t>(n)];
}

// A positive value rounded to `digits` significant digits: n is the rounded
// significand (up to 10^digits when the rounding carried over), e the decimal
// exponent of the value before rounding.
struct Decimal {
  std::uint64_t n;
  int e;
};

// floor(m · 2^k · 10^d) and whether the part cut off is at least a half,
// computed exactly; false when the product leaves the 128-bit fast range.
bool ScaleExact(std::uint64_t m, int k, int d, std::uint64_t& t, bool& up) {
  if (k >= 0 || k < -127 || d < 0 || d > kMaxFastScale)
    return false;
  const Uint128 p = static_cast<Uint128>(m) * kPow10Wide[static_cast<std::size_t>(d)];
  const int s = -k;
  const Uint128 q = p >> s;
  if ((q >> 64) != 0)
    return false;
  t = static_cast<std::uint64_t>(q);
  up = ((p >> (s - 1)) & 1) != 0;
  return true;
}

// The usual case: normal values whose scaled significand fits in 128 bits.
bool FastDecimal(double a, int digits, Decimal& out) {
  const auto bits = std::bit_cast<std::uint64_t>(a);
  const int biased = static_cast<int>(bits >> 52);
  if (biased == 0)
    return false;  // subnormal
  const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int k = biased - 1075;  // a = m · 2^k
  // a lies in [2^e2, 2^(e2+1)), so its decimal exponent is floor(e2 · log10 2)
  // or one more.
  int e = ((biased - 1023) * 78913) >> 18;
  if (e >= -1 && e < 22 && a >= kExactPow10[static_cast<std::size_t>(e + 1)])
    ++e;
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::uint64_t t = 0;
    bool up = false;
    if (!ScaleExact(m, k, digits - 1 - e, t, up))
      return false;
    if (t >= Pow10(digits)) {
      ++e;
    } else if (t < Pow10(digits - 1)) {
      --e;
    } else {
      out = {t + (up ? 1u : 0u), e};
      return true;
    }
  }
  return false;
}

// Any finite positive value, from its exact decimal expansion (a double has
// at most 767 significant decimal digits, so 780 after the point lose none).
Decimal ExactDecimal(double a, int digits) {
  char buf[800];
  const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 780);
  std::uint64_t n = static_cast<std::uint64_t>(buf[0] - '0');
  const char* p = buf + 2;
  for (int i = 1; i < digits; ++i)
    n = n * 10 + static_cast<std::uint64_t>(*p++ - '0');
  // The expansion is exact: a next digit of 5 or more is at least a half.
  if (*p >= '5')
    ++n;
  const char* end = res.ptr;
  const char* ePos = std::find(p, end, 'e');
  const bool negative = ePos[1] == '-';
  int e = 0;
  std::from_chars(ePos + 2, end, e);
  return {n, negative ? -e : e};
}

// Exactly `width` digits of v, zero-padded on the left.
void WriteDigits(char* p, std::uint64_t v, int width) {
  char* q = p + width;
  while (q - p >= 2) {
    q -= 2;
    std::memcpy(q, &kDigitPairs[2 * (v % 100)], 2);
    v /= 100;
  }
  if (q > p)
    *--q = static_cast<char>('0' + v % 10);
}

// Copies digits [from, to) without the trailing zeros.
char* CopyFraction(char* p, const char* from, const char* to) {
  while (to > from && to[-1] == '0')
    --to;
  const auto n = static_cast<std::size_t>(to - from);
  std::memcpy(p, from, n);
  return p + n;
}

// The significand has `digits` digits, or one more when the rounding
// carried over into the next power of ten.
char* WriteDecimal(char* p, Decimal d, int digits) {
  char sig[kMaxDxfDigits + 1];
  const int length = d.n >= Pow10(digits) ? digits + 1 : digits;
  WriteDigits(sig, d.n, length);
  if (d.e >= -1 && d.e <= digits - 1) {
    const int whole = length - (digits - 1 - d.e);  // 0 only for e = -1 without carry
    if (whole == 0)
      *p++ = '0';
    std::memcpy(p, sig, static_cast<std::size_t>(whole));
    p += whole;
    *p++ = '.';
    return CopyFraction(p, sig + whole, sig + length);
  }
  // A carry makes the mantissa 10: it becomes 1 with the next exponent.
  const int e = length > digits ? d.e + 1 : d.e;
  *p++ = sig[0];
  *p++ = '.';
  p = CopyFraction(p, sig + 1, sig + digits);
  *p++ = 'e';
  *p++ = e < 0 ? '-' : '+';
  WriteDigits(p, static_cast<std::uint64_t>(e < 0 ? -e : e), 3);
  return p + 3;
}

std::size_t WriteText(char* out, const char* text) {
  const std::size_t n = std::strlen(text);
  std::memcpy(out, text, n);
  return n;
}

}  // namespace

std::size_t FormatDxfNumber(double value, int digits, char* out) {
  digits = std::clamp(digits, 1, kMaxDxfDigits);
  if (std::isnan(value))
    return WriteText(out, "nan");
  if (std::isinf(value))
    return WriteText(out, value < 0 ? "-inf" : "inf");

  // Zero counts as fixed-point with nothing after the point; negative zero
  // is zero.
  if (value == 0)
    return WriteText(out, "0.");
  char* p = out;
  if (value < 0)
    *p++ = '-';
  const double a = std::fabs(value);
  Decimal d{};
  if (!FastDecimal(a, digits, d))
    d = ExactDecimal(a, digits);
  p = WriteDecimal(p, d, digits);
  return static_cast<std::size_t>(p - out);
}

std::size_t FormatDxfNumber(double value, int digits, DxfNumberBuffer& out) {
  return FormatDxfNumber(value, digits, out.data());
}

std::string FormatDxfNumber(double value, int digits) {
  DxfNumberBuffer buf;
  return std::string(buf.data(), FormatDxfNumber(value, digits, buf));
}

}  // namespace qov
