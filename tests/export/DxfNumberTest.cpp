#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "export/DxfNumber.h"

namespace qov {
namespace {

const double kScale = static_cast<double>(0.34f);

// The format computed the slow way, from the exact decimal expansion that
// the C library prints for a double, with string arithmetic for the
// rounding. `precision` digits after the first must hold the whole
// expansion; 1000 hold that of any double.
std::string Reference(double v, int digits, int precision = 1000) {
  std::string out = v < 0 ? "-" : "";
  if (v == 0)
    return "0.";
  char buf[1200];
  std::snprintf(buf, sizeof buf, "%.*e", precision, std::fabs(v));
  const std::string s = buf;
  const std::size_t ePos = s.find('e');
  int e = std::stoi(s.substr(ePos + 1));
  const std::string all = s.substr(0, 1) + s.substr(2, ePos - 2);
  std::string sig = all.substr(0, static_cast<std::size_t>(digits));
  if (all[static_cast<std::size_t>(digits)] >= '5') {
    int i = digits - 1;
    for (; i >= 0 && sig[static_cast<std::size_t>(i)] == '9'; --i) {
      sig[static_cast<std::size_t>(i)] = '0';
    }
    if (i < 0) {
      sig.insert(sig.begin(), '1');
    } else {
      ++sig[static_cast<std::size_t>(i)];
    }
  }
  auto trimmed = [](std::string frac) {
    while (!frac.empty() && frac.back() == '0')
      frac.pop_back();
    return frac;
  };
  if (e >= -1 && e <= digits - 1) {
    const std::size_t decimals = static_cast<std::size_t>(digits - 1 - e);
    if (sig.size() <= decimals)
      sig.insert(0, decimals + 1 - sig.size(), '0');
    return out + sig.substr(0, sig.size() - decimals) + "." +
           trimmed(sig.substr(sig.size() - decimals));
  }
  if (sig.size() > static_cast<std::size_t>(digits)) {
    sig.pop_back();
    ++e;
  }
  char exponent[16];
  std::snprintf(exponent, sizeof exponent, "e%c%03d", e < 0 ? '-' : '+', std::abs(e));
  return out + sig.substr(0, 1) + "." + trimmed(sig.substr(1)) + exponent;
}

struct Case {
  double value;
  int digits;
  const char* text;
};

TEST(FormatDxfNumber, WritesTheDocumentedExamples) {
  const Case cases[] = {
      {0.34, 6, "0.34"},
      {5 * kScale, 6, "1.7"},
      {50 * kScale, 6, "17."},
      {295 * kScale, 6, "100.3"},
      {0.0, 6, "0."},
      {0.75 * kScale, 10, "0.2550000027"},
      {1.25 * kScale, 10, "0.4250000045"},
      {0.034, 2, "3.4e-002"},
      {1000 * kScale, 6, "340."},
      {3631 * kScale, 5, "1234.5"},
      {3631 * kScale, 6, "1234.54"},
      {2.25 * kScale, 10, "0.765000008"},
      {6.75 * kScale, 10, "2.295000024"},
      {1.75 * kScale, 10, "0.5950000063"},
      {7.25 * kScale, 10, "2.465000026"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDxfNumber(c.value, c.digits), c.text) << c.value << " / " << c.digits;
  }
}

TEST(FormatDxfNumber, ChoosesNotationBeforeRoundingAndCarriesMantissaOverflow) {
  const Case cases[] = {
      // fixed-point because the value is below 10^5, although it rounds up to it
      {99999.78, 5, "100000."},
      {999999.5, 6, "1000000."},
      {9999999999.5, 10, "10000000000."},
      // scientific from 10^digits on; a mantissa rounding up to 10 moves the exponent
      {100000.0, 5, "1.e+005"},
      {9999999.7, 6, "1.e+007"},
      {1234567.0, 6, "1.23457e+006"},
      // the lower end: 0.1 is still fixed-point, anything below is scientific
      {0.1, 5, "0.1"},
      {0.099999999, 5, "1.e-001"},
      {0.0999949, 5, "9.9995e-002"},
      {0.99999999, 5, "1."},
      {-0.99999999, 5, "-1."},
      {9.99999, 5, "10."},
      // halves of the exact binary value go away from zero
      {0.125, 2, "0.13"},
      {-0.125, 2, "-0.13"},
      {2.5, 1, "3."},
      {-2.5, 1, "-3."},
      {0.5, 1, "0.5"},
      {1.0000005, 7, "1.000001"},  // just above the half in binary
      {1.0000015, 7, "1.000001"},  // just below the half in binary
      // exponents of one, two and three digits
      {1e-5, 6, "1.e-005"},
      {-2.5e-50, 6, "-2.5e-050"},
      {1.5e300, 6, "1.5e+300"},
      {5e-324, 6, "4.94066e-324"},
      {-0.0, 6, "0."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDxfNumber(c.value, c.digits), c.text) << c.value << " / " << c.digits;
  }
}

TEST(FormatDxfNumber, LongestTextsFitAndMatchTheReference) {
  const Case cases[] = {
      {-0.12345678916, 10, "-0.1234567892"},
      {-9999999999.4, 10, "-9999999999."},
      {-1.2345678915e-100, 10, "-1.234567892e-100"},
      {-1.7976931348623157e308, 17, "-1.7976931348623157e+308"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDxfNumber(c.value, c.digits), c.text);
    EXPECT_EQ(Reference(c.value, c.digits), c.text);
  }
  std::mt19937_64 rng(7);
  for (int i = 0; i < 20000; ++i) {
    const double v = std::bit_cast<double>(rng());
    if (!std::isfinite(v))
      continue;
    for (int digits : {kDigitsRun, kDigitsJoin, kDigitsStroke}) {
      EXPECT_LE(FormatDxfNumber(v, digits).size(), 17u) << v;
    }
  }
}

void ExpectSameAsReference(double v, int digits, int precision = 1000) {
  DxfNumberBuffer buf;
  const std::size_t n = FormatDxfNumber(v, digits, buf);
  ASSERT_EQ(std::string(buf.data(), n), Reference(v, digits, precision))
      << std::hexfloat << v << std::defaultfloat << " (" << v << ") with " << digits;
}

TEST(FormatDxfNumber, AgreesWithExactReferenceOnRandomValues) {
  std::mt19937_64 rng(2024);
  for (int i = 0; i < 30000; ++i) {
    const double v = std::bit_cast<double>(rng());
    if (!std::isfinite(v))
      continue;
    ExpectSameAsReference(v, static_cast<int>(rng() % kMaxDxfDigits) + 1);
  }
}

// Every coordinate a picture up to 65535 pixels a side can give: whole
// pixels from one before the picture to one past it, and the quarter steps
// of the lone-dot stroke, at every digit count the exports use. Their
// magnitudes lie between 2^-4 and 2^15, so the exact expansion has at most
// 57 digits after the first.
TEST(FormatDxfNumber, AgreesWithExactReferenceOnEveryExportCoordinate) {
  constexpr int kExpansionDigits = 60;
  const double quarters[] = {0, 0.25, -0.25};
  for (int n = -1; n <= 65536; ++n) {
    for (double quarter : quarters) {
      for (int digits : {kDigitsRun, kDigitsJoin, kDigitsStroke})
        ExpectSameAsReference((n + quarter) * kScale, digits, kExpansionDigits);
    }
  }
}

TEST(FormatDxfNumber, AgreesWithExactReferenceOnTiesAndPowersOfTen) {
  std::mt19937_64 rng(5);
  for (int i = 0; i < 4000; ++i) {
    // Binary fractions with few bits end in a 5 at some decimal place:
    // exact halves for one of the digit counts.
    const double v = static_cast<double>(rng() % 100000000) /
                     static_cast<double>(std::uint64_t{1} << (rng() % 12));
    for (int digits = 1; digits <= kMaxDxfDigits; ++digits)
      ExpectSameAsReference(v, digits);
  }
  for (int j = -40; j <= 40; ++j) {
    const double p = std::pow(10.0, j);
    for (double v : {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300), 0.5 * p,
                     std::nextafter(0.5 * p, 0.0), 9.5 * p, 9.9999999999 * p}) {
      for (int digits = 1; digits <= kMaxDxfDigits; ++digits) {
        ExpectSameAsReference(v, digits);
        ExpectSameAsReference(-v, digits);
      }
    }
  }
}

TEST(FormatDxfNumber, OutOfRangeDigitCountsAndNonFiniteValuesStayDefined) {
  EXPECT_EQ(FormatDxfNumber(1.25, 0), FormatDxfNumber(1.25, 1));
  EXPECT_EQ(FormatDxfNumber(1.25, 99), FormatDxfNumber(1.25, kMaxDxfDigits));
  EXPECT_EQ(FormatDxfNumber(INFINITY, 6), "inf");
  EXPECT_EQ(FormatDxfNumber(-INFINITY, 6), "-inf");
  EXPECT_EQ(FormatDxfNumber(NAN, 6), "nan");
}

}  // namespace
}  // namespace qov
