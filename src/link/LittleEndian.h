#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Little-endian fields of the instrument's coded commands and packed records, independent of the host's
// byte order: the one place the program and the simulator read and write them. `bytes` need not be
// aligned.
namespace varnok {

namespace little_endian {

template <class T>
T ReversedBytes(T value) {
  unsigned char b[sizeof value];
  std::memcpy(b, &value, sizeof value);
  for (std::size_t i = 0; i < sizeof value / 2; ++i) {
    const unsigned char t = b[i];
    b[i] = b[sizeof value - 1 - i];
    b[sizeof value - 1 - i] = t;
  }
  std::memcpy(&value, b, sizeof value);
  return value;
}

template <class T>
T Load(const std::uint8_t* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof value);
  if constexpr (std::endian::native == std::endian::big) value = ReversedBytes(value);
  return value;
}

template <class T>
void Store(std::uint8_t* bytes, T value) {
  if constexpr (std::endian::native == std::endian::big) value = ReversedBytes(value);
  std::memcpy(bytes, &value, sizeof value);
}

}  // namespace little_endian

inline void PutUInt16(std::uint8_t* bytes, std::uint16_t value) { little_endian::Store(bytes, value); }
inline void PutUInt32(std::uint8_t* bytes, std::uint32_t value) { little_endian::Store(bytes, value); }
inline void PutUInt64(std::uint8_t* bytes, std::uint64_t value) { little_endian::Store(bytes, value); }
inline void PutFloat32(std::uint8_t* bytes, float value) {
  PutUInt32(bytes, std::bit_cast<std::uint32_t>(value));
}
inline void PutFloat64(std::uint8_t* bytes, double value) {
  PutUInt64(bytes, std::bit_cast<std::uint64_t>(value));
}

inline std::uint16_t GetUInt16(const std::uint8_t* bytes) {
  return little_endian::Load<std::uint16_t>(bytes);
}
inline std::uint32_t GetUInt32(const std::uint8_t* bytes) {
  return little_endian::Load<std::uint32_t>(bytes);
}
inline std::uint64_t GetUInt64(const std::uint8_t* bytes) {
  return little_endian::Load<std::uint64_t>(bytes);
}
inline std::int32_t GetInt32(const std::uint8_t* bytes) {
  return static_cast<std::int32_t>(GetUInt32(bytes));
}
inline float GetFloat32(const std::uint8_t* bytes) { return std::bit_cast<float>(GetUInt32(bytes)); }
inline double GetFloat64(const std::uint8_t* bytes) { return std::bit_cast<double>(GetUInt64(bytes)); }

}  // namespace varnok
