#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace varnok::sim {

// A function-23 request as the instrument receives it over TCP:
//   0 transaction id (BE16), 2 protocol 0, 4 length = n + 13, 6 unit, 7 function 23,
//   8 read address 0xFFFF, 10 read quantity 0, 12 write address 0xFFFF,
//   14 write quantity (n + 3) / 2, 16 byte count n, 17 command code, 18 length n, 19 data.
struct TunnelRequest {
  std::uint16_t transactionId = 0;
  std::uint8_t unit = 0;
  std::uint8_t code = 0;
  std::vector<std::uint8_t> data;
};

// Modbus exception codes the instrument answers a malformed request with.
inline constexpr std::uint8_t kIllegalFunction = 0x01;
inline constexpr std::uint8_t kIllegalAddress = 0x02;
inline constexpr std::uint8_t kIllegalValue = 0x03;

// How many bytes of the stream make up the first request: 6 + the length field once the
// header is in, nothing while fewer than 6 bytes are there.
std::optional<std::size_t> TunnelRequestSize(std::span<const std::uint8_t> bytes);

// Largest length field accepted before the stream is taken for garbage (n = 255).
inline constexpr std::size_t kMaxTunnelLengthField = 255 + 13;

struct TunnelDecodeResult {
  std::optional<TunnelRequest> request;  // set when the request is sound
  std::uint8_t exceptionCode = 0;        // otherwise why it is refused
};

// Judges one complete request (exactly the bytes TunnelRequestSize announced).
TunnelDecodeResult DecodeTunnelRequest(std::span<const std::uint8_t> frame);

// The response carrying `reply`: id, protocol 0, length, unit, 0x17, byte count, 0, the reply
// length at offset 10 and the reply from offset 11. Replies above 255 bytes (up to 1026) are
// told by the response's size alone; offset 10 then holds 255.
std::vector<std::uint8_t> BuildTunnelResponse(std::uint16_t transactionId, std::uint8_t unit,
                                              std::span<const std::uint8_t> reply);

// A 9-byte exception response: function code with bit 7 set and the exception code.
std::vector<std::uint8_t> BuildTunnelException(std::uint16_t transactionId, std::uint8_t unit,
                                               std::uint8_t function, std::uint8_t exceptionCode);

inline constexpr std::size_t kMaxTunnelReply = 1026;

}  // namespace varnok::sim
