#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// Hexadecimal bytes as varnok-cmd reads and prints them: "0A1B" or "0a 1b" in, "0A 1B" out.
std::optional<std::vector<std::uint8_t>> ParseHexData(std::string_view text);
std::string FormatHex(const std::vector<std::uint8_t>& bytes);

// A command code: decimal, or hexadecimal after "0x"; 0..255.
std::optional<int> ParseCommandCode(std::string_view text);

}  // namespace varnok
