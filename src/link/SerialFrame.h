#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace varnok {

// The checked frame of the serial line (same layout both ways):
//   header (device address << 3 | length, or | 7 for lengths 7..255), code, [length when long], data, check
// The check byte is the XOR of every byte before it.
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kInstrumentAddress = 1;

std::uint8_t XorCheck(std::span<const std::uint8_t> bytes);

std::vector<std::uint8_t> BuildSerialFrame(std::uint8_t address, std::uint8_t code,
                                           std::span<const std::uint8_t> data);

// What the first three bytes of a received frame tell.
struct SerialFrameHeader {
  std::uint8_t address = 0;
  std::uint8_t code = 0;
  std::uint8_t length = 0;  // data length
  bool longForm = false;    // byte 2 is the length; otherwise byte 2 is the first data byte or the check
  // Bytes still to read after the three: data not yet received plus the check byte.
  std::size_t remaining = 0;
};

SerialFrameHeader ParseSerialFrameHeader(const std::uint8_t first[3]);

}  // namespace varnok
