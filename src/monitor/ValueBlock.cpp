#include "monitor/ValueBlock.h"

#include <bit>
#include <cstddef>

namespace varnok {

void WriteValueBlockRequest(std::uint8_t* data, std::uint16_t firstValue, std::uint16_t count) {
  data[0] = static_cast<std::uint8_t>(firstValue & 0xFF);
  data[1] = static_cast<std::uint8_t>(firstValue >> 8);
  data[2] = static_cast<std::uint8_t>(count & 0xFF);
  data[3] = static_cast<std::uint8_t>(count >> 8);
}

std::optional<float> ValueBlockValue(std::span<const std::uint8_t> reply, int index) {
  if (index < 0) return std::nullopt;
  const std::size_t offset = static_cast<std::size_t>(index) * 4;
  if (reply.size() < offset + 4) return std::nullopt;
  const std::uint32_t bits = static_cast<std::uint32_t>(reply[offset]) |
                             (static_cast<std::uint32_t>(reply[offset + 1]) << 8) |
                             (static_cast<std::uint32_t>(reply[offset + 2]) << 16) |
                             (static_cast<std::uint32_t>(reply[offset + 3]) << 24);
  return std::bit_cast<float>(bits);
}

}  // namespace varnok
