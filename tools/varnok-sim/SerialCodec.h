#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace varnok::sim {

inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kInstrumentAddress = 1;

// A frame: header (address << 3 | length, or | 7 with the length in byte 2 from 7 bytes on),
// code, data, XOR check of every byte before it.
std::vector<std::uint8_t> BuildSerialFrame(std::uint8_t address, std::uint8_t code,
                                           std::span<const std::uint8_t> data);

// One thing the console sent on the serial line.
struct SerialMessage {
  enum class Kind { kFrame, kLine } kind = Kind::kLine;
  std::vector<std::uint8_t> raw;   // the bytes as received (a line with its CR)
  bool checkOk = false;            // frame: the XOR of all its bytes is 0
  std::uint8_t code = 0;           // frame: command code
  std::vector<std::uint8_t> data;  // frame: data bytes
  std::string text;                // line: the command text without CR
};

// Splits the byte stream from the console into frames and text lines. Between messages a
// header byte addressed to the instrument (0x08..0x0F, which includes LF and CR) starts a
// frame; a printable character starts a text line, which CR ends. The console's ACK and NAK
// and other control bytes between messages are no part of a message: they are handed back apart.
class SerialInput {
 public:
  static constexpr std::size_t kMaxLine = 4096;

  // Feeds received bytes; complete messages are appended to `out`, the control bytes met between
  // messages (ACK, NAK, ...) to `between` when given.
  void Feed(std::span<const std::uint8_t> bytes, std::vector<SerialMessage>& out,
            std::vector<std::uint8_t>* between = nullptr);

  // Forgets a message begun but not finished (the sender went quiet).
  void DropPartial();
  bool HasPartial() const { return !pending_.empty(); }

 private:
  void FeedByte(std::uint8_t b, std::vector<SerialMessage>& out, std::vector<std::uint8_t>* between);
  std::vector<std::uint8_t> pending_;
  bool inFrame_ = false;
  std::size_t frameSize_ = 0;  // 0 until known
};

}  // namespace varnok::sim
