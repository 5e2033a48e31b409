#include "core/TextConversions.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale>

#include <locale.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include "core/AppError.h"

namespace varnok {

namespace {

bool IsBlankOrControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

std::atomic<char> gSeparatorOverride{'\0'};

char LocaleSeparator() {
  static const char separator = [] {
#ifdef _WIN32
    // The C++ run-time on Windows knows no named locales: ask the user's regional settings.
    wchar_t point[4] = {};
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, point, 4) == 2 && point[0] < 0x80) {
      return static_cast<char>(point[0]);
    }
    return '.';
#else
    try {
      const char point = std::use_facet<std::numpunct<char> >(std::locale("")).decimal_point();
      return point == '\0' ? '.' : point;
    } catch (const std::exception&) {
      return '.';  // no usable regional settings
    }
#endif
  }();
  return separator;
}

}  // namespace

char DecimalSeparator() {
  const char overridden = gSeparatorOverride.load();
  return overridden != '\0' ? overridden : LocaleSeparator();
}

void SetDecimalSeparatorForTesting(char separator) { gSeparatorOverride.store(separator); }

// ---------------------------------------------------------------------------------------------
// Comma list

std::vector<std::string> SplitCommaList(std::string_view text) {
  std::vector<std::string> list;
  std::size_t pos = 0;
  const std::size_t n = text.size();
  // A zero byte ends the text as its end does.
  auto atEnd = [&] { return pos >= n || text[pos] == '\0'; };
  auto skipBlanks = [&] {
    while (!atEnd() && IsBlankOrControl(text[pos])) ++pos;
  };

  skipBlanks();
  while (!atEnd()) {
    std::string entry;
    if (text[pos] == '"') {
      ++pos;
      while (!atEnd()) {
        if (text[pos] == '"') {
          if (pos + 1 < n && text[pos + 1] == '"') {
            entry += '"';
            pos += 2;
            continue;
          }
          ++pos;  // the closing quote
          break;
        }
        entry += text[pos++];
      }
    } else {
      while (!atEnd() && text[pos] != ',' && !IsBlankOrControl(text[pos])) entry += text[pos++];
    }
    list.push_back(std::move(entry));

    skipBlanks();
    if (!atEnd() && text[pos] == ',') {
      ++pos;
      if (atEnd()) list.emplace_back();  // a trailing comma stands for one empty entry
      skipBlanks();
    }
  }
  return list;
}

std::string JoinCommaList(const std::vector<std::string>& list) {
  if (list.size() == 1 && list.front().empty()) return "\"\"";
  std::string text;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i > 0) text += ',';
    const std::string& entry = list[i];
    bool needsQuotes = false;
    for (char c : entry) {
      if (static_cast<unsigned char>(c) <= 32 || c == ',' || c == '"') {
        needsQuotes = true;
        break;
      }
    }
    if (!needsQuotes) {
      text += entry;
      continue;
    }
    text += '"';
    for (char c : entry) {
      if (c == '"') text += '"';
      text += c;
    }
    text += '"';
  }
  return text;
}

// ---------------------------------------------------------------------------------------------
// Reading numbers

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void NotAFloat(std::string_view text) {
  throw AppError("'" + std::string(text) + "' is not a valid floating point value");
}

[[noreturn]] void NotAnInteger(std::string_view text) {
  throw AppError("'" + std::string(text) + "' is not a valid integer value");
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

double ParseNumberText(std::string_view text) {
  const char separator = DecimalSeparator();
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;

  // Rewrite the number in the form from_chars reads: full stop, no leading "+".
  std::string plain;
  std::size_t pos = begin;
  if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
    if (text[pos] == '-') plain += '-';
    ++pos;
  }
  std::size_t digits = 0;
  while (pos < end && IsDigit(text[pos])) {
    plain += text[pos++];
    ++digits;
  }
  // Configuration files always write the full stop, so it is read under any regional settings.
  if (pos < end && (text[pos] == separator || text[pos] == '.')) {
    plain += '.';
    ++pos;
    while (pos < end && IsDigit(text[pos])) {
      plain += text[pos++];
      ++digits;
    }
  }
  if (digits == 0) NotAFloat(text);
  if (pos < end && (text[pos] == 'e' || text[pos] == 'E')) {
    plain += 'e';
    ++pos;
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) plain += text[pos++];
    std::size_t exponentDigits = 0;
    while (pos < end && IsDigit(text[pos])) {
      plain += text[pos++];
      ++exponentDigits;
    }
    if (exponentDigits == 0) NotAFloat(text);
  }
  if (pos != end) NotAFloat(text);

  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too small to hold is zero; too large is no number at all.
#ifdef _WIN32
    static _locale_t cLocale = _create_locale(LC_NUMERIC, "C");
    value = _strtod_l(plain.c_str(), nullptr, cLocale);
#else
    static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t{});
    value = strtod_l(plain.c_str(), nullptr, cLocale);
#endif
    if (std::isinf(value)) NotAFloat(text);
    return value;
  }
  if (ec != std::errc{} || ptr != plain.data() + plain.size()) NotAFloat(text);
  return value;
}

std::int32_t ParseIntegerText(std::string_view text) {
  std::size_t pos = 0;
  const std::size_t n = text.size();
  while (pos < n && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < n && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  int base = 10;
  if (pos < n && text[pos] == '$') {
    base = 16;
    ++pos;
  } else if (pos < n && (text[pos] == 'x' || text[pos] == 'X')) {
    base = 16;
    ++pos;
  } else if (pos + 1 < n && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
    base = 16;
    pos += 2;
  }
  if (pos >= n) NotAnInteger(text);

  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t magnitude = 0;
  for (; pos < n; ++pos) {
    const int digit = base == 16 ? HexDigit(text[pos]) : (IsDigit(text[pos]) ? text[pos] - '0' : -1);
    if (digit < 0) NotAnInteger(text);
    magnitude = magnitude * base + digit;
    if (magnitude > limit) NotAnInteger(text);
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// ---------------------------------------------------------------------------------------------
// Fixed-point formatting

namespace {

// A rounded decimal value: digits without leading or trailing zeros (empty for zero) and the
// power of ten of the first digit.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
};

// The value's decimal digits as to_chars writes them in scientific form with many digits: far more
// than a double holds, so a digit string ending in 5 followed by zeros is a true half.
DecimalDigits ExactDigits(double magnitude) {
  char buffer[128];
  auto r = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 80);
  std::string_view chars(buffer, static_cast<std::size_t>(r.ptr - buffer));
  DecimalDigits result;
  const std::size_t e = chars.find('e');
  for (std::size_t i = 0; i < e; ++i) {
    if (chars[i] != '.') result.digits += chars[i];
  }
  std::size_t expBegin = e + 1;
  if (chars[expBegin] == '+') ++expBegin;
  std::from_chars(chars.data() + expBegin, chars.data() + chars.size(), result.exponent);
  return result;
}

// Rounds to `keep` significant digits, halves away from zero, and trims trailing zeros.
DecimalDigits RoundDigits(DecimalDigits exact, int keep) {
  DecimalDigits result;
  if (keep < 0) return result;  // far below the last kept place
  const auto k = static_cast<std::size_t>(keep);
  if (k >= exact.digits.size()) {
    result = exact;
  } else {
    const bool up = exact.digits[k] >= '5';
    result.digits = exact.digits.substr(0, k);
    result.exponent = exact.exponent;
    if (up) {
      std::size_t i = result.digits.size();
      while (i > 0 && result.digits[i - 1] == '9') result.digits[--i] = '0';
      if (i == 0) {
        result.digits.insert(result.digits.begin(), '1');
        ++result.exponent;
      } else {
        ++result.digits[i - 1];
      }
    }
  }
  const std::size_t last = result.digits.find_last_not_of('0');
  result.digits.erase(last == std::string::npos ? 0 : last + 1);
  return result;
}

}  // namespace

std::string FormatFixed(double value, int precision, int decimals) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (precision < 2) precision = 2;
  if (precision > 18) precision = 18;
  if (decimals > 18) decimals = 18;
  if (decimals < 0) decimals = 0;

  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);

  // One rounding, to whichever limit keeps fewer digits.
  DecimalDigits rounded;
  if (magnitude != 0.0) {
    const DecimalDigits exact = ExactDigits(magnitude);
    const int keep = std::min(precision, exact.exponent + 1 + decimals);
    rounded = RoundDigits(exact, keep);
    // Rounding up next to the largest double would give a text that no longer reads as a number
    // (1.75E308 to two digits is 1.8E308): those values are cut instead of rounded.
    if (rounded.exponent >= 308 && !rounded.digits.empty()) {
      const std::string check = rounded.digits.substr(0, 1) + "." + rounded.digits.substr(1) + "e" +
                                std::to_string(rounded.exponent);
      if (std::isinf(std::strtod(check.c_str(), nullptr))) {
        rounded.digits = exact.digits.substr(0, static_cast<std::size_t>(keep));
        rounded.exponent = exact.exponent;
        const std::size_t last = rounded.digits.find_last_not_of('0');
        rounded.digits.erase(last == std::string::npos ? 0 : last + 1);
      }
    }
  }

  const char separator = DecimalSeparator();
  std::string text;
  if (!rounded.digits.empty() && negative) text += '-';

  if (!rounded.digits.empty() && rounded.exponent + 1 > precision) {
    text += rounded.digits[0];
    if (rounded.digits.size() > 1) {
      text += separator;
      text.append(rounded.digits, 1, std::string::npos);
    }
    text += 'E';
    text += std::to_string(rounded.exponent);
    return text;
  }

  // Digit at power of ten p, or '0' outside the rounded digits.
  auto digitAt = [&](int p) {
    const int index = rounded.exponent - p;
    if (rounded.digits.empty() || index < 0 || index >= static_cast<int>(rounded.digits.size())) {
      return '0';
    }
    return rounded.digits[static_cast<std::size_t>(index)];
  };
  const int highest = rounded.digits.empty() ? 0 : std::max(rounded.exponent, 0);
  for (int p = highest; p >= 0; --p) text += digitAt(p);
  if (decimals > 0) {
    text += separator;
    for (int p = -1; p >= -decimals; --p) text += digitAt(p);
  }
  return text;
}

}  // namespace varnok
