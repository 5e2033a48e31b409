#include "tools/varnok-sim/TunnelCodec.h"

#include <algorithm>

namespace varnok::sim {

namespace {

std::uint16_t Be16(std::span<const std::uint8_t> b, std::size_t offset) {
  return static_cast<std::uint16_t>((b[offset] << 8) | b[offset + 1]);
}

void PutBe16(std::vector<std::uint8_t>& b, std::size_t offset, std::size_t value) {
  b[offset] = static_cast<std::uint8_t>(value >> 8);
  b[offset + 1] = static_cast<std::uint8_t>(value);
}

}  // namespace

std::optional<std::size_t> TunnelRequestSize(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 6) return std::nullopt;
  return 6 + static_cast<std::size_t>(Be16(bytes, 4));
}

TunnelDecodeResult DecodeTunnelRequest(std::span<const std::uint8_t> f) {
  TunnelDecodeResult result;
  if (f.size() < 8) {
    result.exceptionCode = kIllegalValue;
    return result;
  }
  if (f[7] != 0x17) {
    result.exceptionCode = kIllegalFunction;
    return result;
  }
  if (f.size() < 19) {
    result.exceptionCode = kIllegalValue;
    return result;
  }
  if (Be16(f, 8) != 0xFFFF || Be16(f, 12) != 0xFFFF) {
    result.exceptionCode = kIllegalAddress;
    return result;
  }
  const std::size_t n = f[18];
  // Protocol 0, nothing to read, the instrument's own byte count and register count, and a
  // frame that holds exactly the announced data.
  if (Be16(f, 2) != 0 || Be16(f, 10) != 0 || f[16] != n || Be16(f, 14) != (n + 3) / 2 || f.size() != 19 + n) {
    result.exceptionCode = kIllegalValue;
    return result;
  }
  TunnelRequest request;
  request.transactionId = Be16(f, 0);
  request.unit = f[6];
  request.code = f[17];
  request.data.assign(f.begin() + 19, f.end());
  result.request = std::move(request);
  return result;
}

std::vector<std::uint8_t> BuildTunnelResponse(std::uint16_t transactionId, std::uint8_t unit,
                                              std::span<const std::uint8_t> reply) {
  const std::size_t n = std::min(reply.size(), kMaxTunnelReply);
  std::vector<std::uint8_t> r(11 + n, 0);
  PutBe16(r, 0, transactionId);
  PutBe16(r, 2, 0);
  PutBe16(r, 4, r.size() - 6);
  r[6] = unit;
  r[7] = 0x17;
  r[8] = static_cast<std::uint8_t>(std::min<std::size_t>(r.size() - 9, 255));
  r[9] = 0;
  r[10] = static_cast<std::uint8_t>(std::min<std::size_t>(n, 255));
  std::copy_n(reply.begin(), n, r.begin() + 11);
  return r;
}

std::vector<std::uint8_t> BuildTunnelException(std::uint16_t transactionId, std::uint8_t unit,
                                               std::uint8_t function, std::uint8_t exceptionCode) {
  std::vector<std::uint8_t> r(9, 0);
  PutBe16(r, 0, transactionId);
  PutBe16(r, 4, 3);
  r[6] = unit;
  r[7] = static_cast<std::uint8_t>(function | 0x80);
  r[8] = exceptionCode;
  return r;
}

}  // namespace varnok::sim
