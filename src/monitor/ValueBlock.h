#pragma once
#include <cstdint>
#include <optional>
#include <span>

namespace varnok {

// ReadValueBlock (code 132): the request is the first value number and the count of values, both
// unsigned 16-bit little-endian; the reply holds single-precision values, value k in bytes 4k..4k+3.
inline constexpr std::uint8_t kValueBlockRequestLength = 4;

// Writes the four request bytes into `data`.
void WriteValueBlockRequest(std::uint8_t* data, std::uint16_t firstValue, std::uint16_t count);

// Value `index` of a value-block reply, or nothing when the reply is too short to hold it.
std::optional<float> ValueBlockValue(std::span<const std::uint8_t> reply, int index);

}  // namespace varnok
