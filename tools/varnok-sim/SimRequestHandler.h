#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "tools/varnok-sim/ReplyPlan.h"
#include "tools/varnok-sim/SerialCodec.h"

namespace varnok::sim {

// What a session asks of the simulator: the plan of the answer to each request it read, and the
// record of the console's acknowledgement bytes. Called on the simulator's I/O thread.
class SimRequestHandler {
 public:
  virtual ~SimRequestHandler() = default;
  // `frame`: exactly the bytes of one request as its length field announced them.
  virtual Plan AnswerTunnel(const std::vector<std::uint8_t>& frame) = 0;
  virtual Plan AnswerSerial(const SerialMessage& message) = 0;
  // Bytes the console sent between serial messages (its ACK and NAK after reply frames).
  virtual void RecordAcknowledgements(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace varnok::sim
