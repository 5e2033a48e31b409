#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// The comma list: the settings file's encoding of a list of texts in one line.
std::vector<std::string> SplitCommaList(std::string_view text);
std::string JoinCommaList(const std::vector<std::string>& list);

// Reads a number written with the user's decimal separator (the full stop is always accepted too).
// Throws AppError "'%s' is not a valid floating point value".
double ParseNumberText(std::string_view text);

// Decimal, or hexadecimal after "$", "x", "X", "0x" or "0X"; signed 32-bit range.
// Throws AppError "'%s' is not a valid integer value".
std::int32_t ParseIntegerText(std::string_view text);

// Fixed-point text with the user's decimal separator; exponent form when the integer part has more
// digits than the precision (1234567 with precision 6 gives "1.23457E6").
std::string FormatFixed(double value, int precision, int decimals);

// The user's decimal separator ('.' unless the locale says otherwise). Tests may override it.
char DecimalSeparator();
void SetDecimalSeparatorForTesting(char separator);  // '\0' restores the locale's

}  // namespace varnok
