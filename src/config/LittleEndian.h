#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>

// Little-endian fields of the instrument's packed records, independent of the host's byte order.
namespace varnok {

inline void PutUInt16(std::uint8_t* bytes, std::uint16_t value) {
  bytes[0] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutUInt32(std::uint8_t* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void PutUInt64(std::uint8_t* bytes, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void PutFloat32(std::uint8_t* bytes, float value) { PutUInt32(bytes, std::bit_cast<std::uint32_t>(value)); }
inline void PutFloat64(std::uint8_t* bytes, double value) { PutUInt64(bytes, std::bit_cast<std::uint64_t>(value)); }

inline std::uint16_t GetUInt16(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline std::uint32_t GetUInt32(const std::uint8_t* bytes) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

inline std::uint64_t GetUInt64(const std::uint8_t* bytes) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

inline std::int32_t GetInt32(const std::uint8_t* bytes) { return static_cast<std::int32_t>(GetUInt32(bytes)); }
inline float GetFloat32(const std::uint8_t* bytes) { return std::bit_cast<float>(GetUInt32(bytes)); }
inline double GetFloat64(const std::uint8_t* bytes) { return std::bit_cast<double>(GetUInt64(bytes)); }

}  // namespace varnok
