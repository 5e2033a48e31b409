#include "config/PointFormat.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

namespace varnok {

namespace {

std::string ToChars(double value, std::chars_format format, int decimals) {
  std::array<char, 400> buffer{};  // "%.Nf" of the largest double needs 309 digits before the point
  const auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, decimals);
  if (error != std::errc()) return {};
  return std::string(buffer.data(), end);
}

std::string NonFinite(double value) {
  if (std::isnan(value)) return std::signbit(value) ? "-NAN" : "NAN";
  return value < 0 ? "-INF" : "INF";
}

}  // namespace

std::string FormatPointFixed(double value, int decimals) {
  if (!std::isfinite(value)) {
    std::string text = NonFinite(value);
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  }
  return ToChars(value, std::chars_format::fixed, decimals);
}

std::string FormatPointExponent(double value, int decimals, int zeroPadWidth) {
  std::string text;
  if (!std::isfinite(value)) {
    text = NonFinite(value);
    if (static_cast<int>(text.size()) < zeroPadWidth) text.insert(0, zeroPadWidth - text.size(), ' ');
    return text;
  }
  text = ToChars(value, std::chars_format::scientific, decimals);
  for (char& c : text) {
    if (c == 'e') c = 'E';
  }
  if (decimals == 0 && zeroPadWidth > 0) {
    const std::size_t e = text.find('E');
    text = text.substr(0, e) + "." + text.substr(e);  // the "#" flag keeps the point
  }
  const int missing = zeroPadWidth - static_cast<int>(text.size());
  if (missing <= 0) return text;
  const bool negative = text[0] == '-';
  return std::string(negative ? "-" : "") + std::string(static_cast<std::size_t>(missing), '0') +
         text.substr(negative ? 1 : 0);
}

}  // namespace varnok
