#include "tools/varnok-cmd/HexText.h"

#include <cctype>
#include <charconv>

namespace varnok {

std::optional<std::vector<std::uint8_t>> ParseHexData(std::string_view text) {
  std::string digits;
  for (char ch : text) {
    if (ch == ' ' || ch == ':' || ch == '-') continue;
    if (!std::isxdigit(static_cast<unsigned char>(ch))) return std::nullopt;
    digits += ch;
  }
  if (digits.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    unsigned value = 0;
    std::from_chars(digits.data() + i, digits.data() + i + 2, value, 16);
    bytes.push_back(static_cast<std::uint8_t>(value));
  }
  return bytes;
}

std::string FormatHex(const std::vector<std::uint8_t>& bytes) {
  static const char* kDigits = "0123456789ABCDEF";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) text += ' ';
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

std::optional<int> ParseCommandCode(std::string_view text) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  int value = -1;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0 || value > 255)
    return std::nullopt;
  return value;
}

}  // namespace varnok
