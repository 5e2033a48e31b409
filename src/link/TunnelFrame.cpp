#include "link/TunnelFrame.h"

#include <stdexcept>

namespace varnok {

std::vector<std::uint8_t> BuildTunnelRequest(std::uint16_t transactionId, std::uint8_t unit,
                                             std::uint8_t code, std::span<const std::uint8_t> data) {
  if (data.size() > kTunnelMaxData) throw std::length_error("tunnel command data longer than 255 bytes");
  const auto n = static_cast<unsigned>(data.size());
  const unsigned following = n + 13;
  const unsigned registers = (n + 3) / 2;
  std::vector<std::uint8_t> frame;
  frame.reserve(kTunnelRequestHeader + n);
  frame.push_back(static_cast<std::uint8_t>(transactionId >> 8));
  frame.push_back(static_cast<std::uint8_t>(transactionId & 0xFF));
  frame.push_back(0);  // protocol identifier
  frame.push_back(0);
  frame.push_back(static_cast<std::uint8_t>(following >> 8));
  frame.push_back(static_cast<std::uint8_t>(following & 0xFF));
  frame.push_back(unit);
  frame.push_back(kTunnelFunction);
  frame.push_back(0xFF);  // read starting address
  frame.push_back(0xFF);
  frame.push_back(0);  // quantity to read
  frame.push_back(0);
  frame.push_back(0xFF);  // write starting address
  frame.push_back(0xFF);
  frame.push_back(0);  // quantity to write
  frame.push_back(static_cast<std::uint8_t>(registers));
  frame.push_back(static_cast<std::uint8_t>(n));  // byte count: the command data length
  frame.push_back(code);
  frame.push_back(static_cast<std::uint8_t>(n));
  frame.insert(frame.end(), data.begin(), data.end());
  return frame;
}

TunnelJudgement JudgeTunnelResponse(std::span<const std::uint8_t> received, std::uint16_t expectedId) {
  TunnelJudgement judgement;
  const std::size_t r = received.size();
  if (r < 9) return judgement;
  if (received[7] & 0x80) {
    judgement.verdict = TunnelVerdict::Exception;
    return judgement;
  }
  if (r < kTunnelReplyOffset) return judgement;
  std::size_t length = received[10];
  if (r <= kTunnelLongResponse && r < kTunnelReplyOffset + length) return judgement;
  if (length == 255 || r > kTunnelLongResponse) {
    // A reply of 255 bytes or more: its length byte cannot tell where it ends. The envelope's length
    // field, when it announces a plausible longer response, says that more is on its way.
    const std::size_t announced = 6 + ((std::size_t{received[4]} << 8) | received[5]);
    if (announced > r && announced <= kTunnelResponseRoom) return judgement;
    if (r > kTunnelLongResponse) length = r - kTunnelReplyOffset;
  }
  const std::uint16_t id = static_cast<std::uint16_t>((received[0] << 8) | received[1]);
  if (id != expectedId) {
    judgement.verdict = TunnelVerdict::Foreign;
    judgement.consumed = kTunnelReplyOffset + length;
    return judgement;
  }
  judgement.verdict = TunnelVerdict::Complete;
  judgement.length = length;
  return judgement;
}

}  // namespace varnok
