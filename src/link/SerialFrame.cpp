#include "link/SerialFrame.h"

#include <stdexcept>

namespace varnok {

std::uint8_t XorCheck(std::span<const std::uint8_t> bytes) {
  std::uint8_t check = 0;
  for (auto b : bytes) check ^= b;
  return check;
}

std::vector<std::uint8_t> BuildSerialFrame(std::uint8_t address, std::uint8_t code,
                                           std::span<const std::uint8_t> data) {
  if (data.size() > 255) throw std::length_error("serial frame data longer than 255 bytes");
  const auto length = static_cast<std::uint8_t>(data.size());
  std::vector<std::uint8_t> frame;
  frame.reserve(data.size() + 4);
  frame.push_back(static_cast<std::uint8_t>((address << 3) | (length < 7 ? length : 7)));
  frame.push_back(code);
  if (length >= 7) frame.push_back(length);
  frame.insert(frame.end(), data.begin(), data.end());
  frame.push_back(XorCheck(frame));
  return frame;
}

SerialFrameHeader ParseSerialFrameHeader(const std::uint8_t first[3]) {
  SerialFrameHeader header;
  header.address = static_cast<std::uint8_t>(first[0] >> 3);
  header.code = first[1];
  header.length = static_cast<std::uint8_t>(first[0] & 7);
  if (header.length == 7) {
    header.longForm = true;
    header.length = first[2];
    header.remaining = std::size_t{header.length} + 1;
  } else {
    header.remaining = header.length;  // byte 2 already holds the first data byte (or the check)
  }
  return header;
}

}  // namespace varnok
