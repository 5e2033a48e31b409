#include "link/TunnelTransaction.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace varnok {

int TunnelTransaction(TcpChannel* socket, TransactionCounter& counter, std::uint8_t unit, std::uint8_t code,
                      std::span<const std::uint8_t> request, std::uint8_t* reply,
                      std::chrono::milliseconds wait) {
  using Clock = std::chrono::steady_clock;
  if (socket == nullptr || !socket->WaitWritable(wait)) return kTunnelNotWritable;
  // Bytes already waiting belong to an earlier exchange (the rest of a cut response, a late reply).
  socket->DiscardInput();
  const std::uint16_t id = counter.Next();
  const auto frame = BuildTunnelRequest(id, unit, code, request);
  if (socket->Send(frame.data(), frame.size()) != static_cast<int>(frame.size())) return kTunnelNotSent;

  std::array<std::uint8_t, kTunnelResponseRoom> buffer{};
  std::size_t have = 0;
  for (int responses = 0; responses < 4; ++responses) {
    auto deadline = Clock::now() + wait;
    bool restWaitSet = false;
    for (;;) {
      if (have > 0 && !restWaitSet) {
        deadline = std::min(deadline, Clock::now() + kTunnelRestWait);
        restWaitSet = true;
      }
      const auto judgement = JudgeTunnelResponse(std::span(buffer.data(), have), id);
      if (judgement.verdict == TunnelVerdict::Exception) return kTunnelException;
      if (judgement.verdict == TunnelVerdict::Complete) {
        std::memcpy(reply, buffer.data() + kTunnelReplyOffset, judgement.length);
        reply[judgement.length] = 0;
        return static_cast<int>(judgement.length);
      }
      if (judgement.verdict == TunnelVerdict::Foreign) {
        // A late response to an earlier request: drop it, keep what came behind it. When more than one
        // short response fills the buffer, the late one's envelope says where it ends.
        std::size_t consumed = judgement.consumed;
        const std::size_t announced = 6 + ((std::size_t{buffer[4]} << 8) | buffer[5]);
        if (consumed == have && announced >= kTunnelReplyOffset && announced < have) consumed = announced;
        std::memmove(buffer.data(), buffer.data() + consumed, have - consumed);
        have -= consumed;
        break;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0 || !socket->WaitReadable(left)) {
        return have == 0 ? kTunnelNoResponse : kTunnelShortResponse;
      }
      const int r = socket->Receive(buffer.data() + have, buffer.size() - have);
      if (r <= 0) return have == 0 ? kTunnelClosed : kTunnelShortResponse;
      have += static_cast<std::size_t>(r);
    }
  }
  return kTunnelClosed;
}

}  // namespace varnok
