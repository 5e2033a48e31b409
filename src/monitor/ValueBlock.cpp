#include "monitor/ValueBlock.h"

#include <cstddef>

#include "link/LittleEndian.h"

namespace varnok {

void WriteValueBlockRequest(std::uint8_t* data, std::uint16_t firstValue, std::uint16_t count) {
  PutUInt16(data, firstValue);
  PutUInt16(data + 2, count);
}

std::optional<float> ValueBlockValue(std::span<const std::uint8_t> reply, int index) {
  if (index < 0) return std::nullopt;
  const std::size_t offset = static_cast<std::size_t>(index) * 4;
  if (reply.size() < offset + 4) return std::nullopt;
  return GetFloat32(reply.data() + offset);
}

}  // namespace varnok
