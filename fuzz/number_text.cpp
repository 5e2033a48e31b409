// Number and integer texts against a reference built from the written rules with regular
// expressions and the C library's conversions.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>

#include "fuzz/FuzzInput.h"
#include "core/AppError.h"
#include "core/TextConversions.h"

namespace {

const std::regex kInteger(R"(^[ \t]*([+-]?)(\$|x|X|0x|0X)?([0-9A-Fa-f]+)$)");
const std::regex kNumber(R"(^[ \t]*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?[ \t]*$)");

bool ReferenceInteger(const std::string& text, long long& value) {
  std::smatch m;
  if (!std::regex_match(text, m, kInteger)) return false;
  const bool hex = m[2].matched;
  std::string digits = m[3];
  digits.erase(
      0, std::min(digits.find_first_not_of('0'), digits.size() - 1));  // leading zeros count for nothing
  if (!hex && digits.find_first_not_of("0123456789") != std::string::npos) return false;
  if (digits.size() > 20) return false;  // far outside the range
  errno = 0;
  const unsigned long long magnitude = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
  if (errno == ERANGE) return false;
  const bool negative = m[1] == "-";
  if (magnitude > (negative ? 2147483648ULL : 2147483647ULL)) return false;
  value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 200) return 0;
  const std::string text(AsText(data, size));
  if (text.find('\0') != std::string::npos) return 0;  // the regular expressions stop at NUL

  long long expected = 0;
  const bool valid = ReferenceInteger(text, expected);
  try {
    const long long got = varnok::ParseIntegerText(text);
    FUZZ_CHECK(valid && got == expected);
  } catch (const varnok::AppError& e) {
    FUZZ_CHECK(!valid);
    FUZZ_CHECK(std::string(e.what()) == "'" + text + "' is not a valid integer value");
  }

  // A number too large for a double is no number; one too small to hold reads as zero or less.
  const bool number = std::regex_match(text, kNumber) && std::isfinite(std::strtod(text.c_str(), nullptr));
  try {
    const double got = varnok::ParseNumberText(text);
    FUZZ_CHECK(number);
    const double reference = std::strtod(text.c_str(), nullptr);
    FUZZ_CHECK(got == reference || (std::isnan(got) && std::isnan(reference)));
  } catch (const varnok::AppError& e) {
    FUZZ_CHECK(!number);
    FUZZ_CHECK(std::string(e.what()) == "'" + text + "' is not a valid floating point value");
  }
  return 0;
}
