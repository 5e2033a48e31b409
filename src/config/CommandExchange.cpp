#include "config/CommandExchange.h"

#include <algorithm>
#include <stdexcept>

namespace varnok {

int SendCodedCommand(InstrumentLink& link, std::uint8_t code, const std::vector<std::uint8_t>& payload,
                     ExchangeBuffer& buffer) {
  if (payload.size() > 255) throw std::length_error("a coded command carries at most 255 bytes");
  buffer.fill(0);
  std::copy(payload.begin(), payload.end(), buffer.begin());
  return link.SendBinaryCommand(code, static_cast<std::uint8_t>(payload.size()), buffer.data());
}

bool IsCommandAccepted(int result, const std::uint8_t* reply) {
  if (result < 1) return false;
  return !(result == 1 && reply[0] != 0);
}

void WriteSequenceStatus::Show(int result, const std::uint8_t* reply) {
  link_.ShowCommandStatus(result, reply);
  if (!hadProblem_ && !IsCommandAccepted(result, reply)) {
    hadProblem_ = true;
    firstResult_ = result;
    firstReplyByte_ = reply[0];
  }
}

void WriteSequenceStatus::Finish() {
  if (hadProblem_) link_.ShowCommandStatus(firstResult_, &firstReplyByte_);
}

}  // namespace varnok
