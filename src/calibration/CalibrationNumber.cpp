#include "CalibrationNumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace varnok {

std::int64_t ReadLeadingInteger(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) {
    negative = line[i] == '-';
    ++i;
  }
  // Accumulate toward the sign so that the most negative value is reachable; saturate on overflow.
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  std::int64_t value = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    const int digit = line[i] - '0';
    if (negative) {
      value = value < (kMin + digit) / 10 ? kMin : value * 10 - digit;
    } else {
      value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
  }
  return value;
}

namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> ReadCalibrationValue(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  bool negative = false;
  if (p != end && (*p == '-' || *p == '+')) {
    negative = *p == '-';
    ++p;
  }
  const char* const numberStart = p;  // without the sign (from_chars refuses a "+")

  // Check the form and gather the significant digits; most values of these files are short fixed-point
  // numbers, which are converted exactly without the general routine.
  std::uint64_t mantissa = 0;
  int digits = 0;        // significant digits gathered into the mantissa
  int droppedDigits = 0; // integer digits beyond what the mantissa holds
  int fractionDigits = 0;
  bool anyDigit = false;
  for (; p != end && IsDigit(*p); ++p) {
    anyDigit = true;
    if (digits < 19) {
      if (mantissa != 0 || *p != '0') {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        ++digits;
      }
    } else {
      ++droppedDigits;
    }
  }
  if (p != end && *p == '.') {
    ++p;
    for (; p != end && IsDigit(*p); ++p) {
      anyDigit = true;
      if (digits < 19) {
        if (mantissa != 0 || *p != '0') {
          mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
          ++digits;
        }
        ++fractionDigits;
      } else {
        droppedDigits = -1;  // precision lost: leave it to the general routine
      }
    }
  }
  if (!anyDigit) return std::nullopt;
  int exponent = 0;
  bool hasExponent = false;
  if (p != end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negativeExponent = false;
    if (p != end && (*p == '-' || *p == '+')) {
      negativeExponent = *p == '-';
      ++p;
    }
    if (p == end || !IsDigit(*p)) return std::nullopt;
    for (; p != end && IsDigit(*p); ++p) {
      if (exponent < 100000) exponent = exponent * 10 + (*p - '0');
    }
    if (negativeExponent) exponent = -exponent;
    hasExponent = true;
  }
  if (p != end) return std::nullopt;

  const int scale = exponent - fractionDigits;
  if (droppedDigits == 0 && !hasExponent && mantissa <= (std::uint64_t{1} << 53) && scale >= -22 &&
      scale <= 0) {
    // Both the mantissa and the power of ten are exact doubles, so one division rounds correctly.
    const double value = static_cast<double>(mantissa) / kPowersOfTen[-scale];
    return negative ? -value : value;
  }

  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(numberStart, end, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Too small rounds to zero; too large is not a number the instrument writes.
    if (scale < 0) return negative ? -0.0 : 0.0;
    return std::nullopt;
  }
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace varnok
