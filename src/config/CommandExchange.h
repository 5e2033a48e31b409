#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "link/InstrumentLink.h"

namespace varnok {

// The data buffer a handler hands to SendBinaryCommand: room for the longest payload and for the
// longest reply the link can write.
using ExchangeBuffer = std::array<std::uint8_t, kBinaryDataSize>;

// Sends one coded command. The buffer is cleared first and then receives the payload, so no byte of
// an earlier command or reply ever travels again. Returns SendBinaryCommand's result; the reply is in
// `buffer`.
int SendCodedCommand(InstrumentLink& link, std::uint8_t code, const std::vector<std::uint8_t>& payload,
                     ExchangeBuffer& buffer);

// Whether ShowCommandStatus shows "OK" for this outcome: a reply of more than one byte, or one zero
// byte. A result below 1 (no answer) and a one-byte non-zero reply (refusal) are problems.
bool IsCommandAccepted(int result, const std::uint8_t* reply);

// The status panel through a write sequence: every command's outcome is shown as it arrives, and when
// the sequence ends the panel shows the first failure or refusal instead of a later "OK".
class WriteSequenceStatus {
 public:
  explicit WriteSequenceStatus(InstrumentLink& link) : link_(link) {}

  void Show(int result, const std::uint8_t* reply);
  void Finish();

 private:
  InstrumentLink& link_;
  bool hadProblem_ = false;
  int firstResult_ = 0;
  std::uint8_t firstReplyByte_ = 0;
};

}  // namespace varnok
