#include "config/ExactNumberText.h"

#include <charconv>
#include <cstring>
#include <exception>

#include "config/Float32.h"
#include "core/TextConversions.h"

namespace varnok {

namespace {

template <typename T>
std::string Chars(T value, std::chars_format format, int precision = -1) {
  char buffer[64];
  const auto out = precision < 0 ? std::to_chars(buffer, buffer + sizeof buffer, value, format)
                                 : std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  return std::string(buffer, out.ptr);
}

template <typename T>
bool SameBits(T a, T b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

}  // namespace

bool ReadsBackAsFloat32(const std::string& text, float value) {
  try {
    return SameBits(RoundToFloat32(ParseNumberText(text)), value);
  } catch (const std::exception&) {
    return false;
  }
}

bool ReadsBackAsFloat64(const std::string& text, double value) {
  try {
    return SameBits(ParseNumberText(text), value);
  } catch (const std::exception&) {
    return false;
  }
}

std::string ExactFloat32Text(float value) {
  // The shortest text is exact for a direct single-precision read; read as a double first and then
  // rounded, it may in rare cases land on the neighbour, so longer texts are tried before giving up.
  std::string text = Chars(value, std::chars_format::general);
  if (ReadsBackAsFloat32(text, value)) return text;
  for (int precision : {9, 17}) {
    text = Chars(value, std::chars_format::general, precision);
    if (ReadsBackAsFloat32(text, value)) return text;
  }
  return Chars(static_cast<double>(value), std::chars_format::general);
}

std::string ExactFloat64Text(double value) { return Chars(value, std::chars_format::general); }

}  // namespace varnok
