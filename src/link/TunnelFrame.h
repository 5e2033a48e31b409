#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace varnok {

// The TCP tunnel: every request travels in a Modbus-TCP function-23 envelope whose written register
// data carry the command code, its length and the command data. The byte count at offset 16 is the
// command data length n (not the n + 2 bytes that follow): the instrument expects exactly that.
inline constexpr std::size_t kTunnelRequestHeader = 19;   // request bytes before the command data
inline constexpr std::size_t kTunnelResponseRoom = 1037;  // receive buffer of one response
inline constexpr std::size_t kTunnelReplyOffset = 11;     // reply data start in a response
inline constexpr std::size_t kTunnelLongResponse = 266;  // longer responses take their length from their size
inline constexpr std::size_t kTunnelMaxReply = kTunnelResponseRoom - kTunnelReplyOffset;  // 1026
inline constexpr std::size_t kTunnelMaxData = 255;
inline constexpr std::uint8_t kTunnelFunction = 23;

// The process-wide transaction identifier: incremented (wrapping) before every request, so the first
// request carries 1. Connecting and disconnecting leave it alone.
class TransactionCounter {
 public:
  std::uint16_t Next() { return ++value_; }
  std::uint16_t Current() const { return value_; }
  void Set(std::uint16_t value) { value_ = value; }

 private:
  std::uint16_t value_ = 0;
};

// The request frame for command data of up to 255 bytes (n + 19 bytes).
std::vector<std::uint8_t> BuildTunnelRequest(std::uint16_t transactionId, std::uint8_t unit,
                                             std::uint8_t code, std::span<const std::uint8_t> data);

enum class TunnelVerdict {
  NeedMore,   // not yet a whole response: fewer than 11 bytes, or fewer than the reply length promises
  Exception,  // function code with bit 7 set (whatever the identifier)
  Foreign,    // a whole response to an earlier request: drop `consumed` bytes and go on
  Complete,   // the answer: `length` reply bytes at offset 11
};

struct TunnelJudgement {
  TunnelVerdict verdict = TunnelVerdict::NeedMore;
  std::size_t length = 0;    // Complete: reply length
  std::size_t consumed = 0;  // Foreign: size of the dropped response
};

// Judges the bytes received so far for one response. The reply length is the byte at offset 10, or
// the received size minus 11 when more than 266 bytes arrived. Only when offset 10 holds 255 or more
// than 266 bytes arrived is the envelope's length field (offset 4) consulted, and only to wait for the
// rest of a long response it announces (at most 1037 bytes in all).
TunnelJudgement JudgeTunnelResponse(std::span<const std::uint8_t> received, std::uint16_t expectedId);

}  // namespace varnok
