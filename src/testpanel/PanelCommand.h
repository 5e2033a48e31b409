#pragma once
#include <cstdint>
#include <vector>

namespace varnok {

class InstrumentLink;

// One coded command of the test tab: the command code and the request bytes. The length sent is
// the number of payload bytes.
struct PanelCommand {
  std::uint8_t code = 0;
  std::vector<std::uint8_t> payload;

  std::uint8_t Length() const { return static_cast<std::uint8_t>(payload.size()); }
  bool operator==(const PanelCommand&) const = default;
};

// Copies the payload into the start of `buffer` (kBinaryDataSize bytes, zero-filled first) and hands
// it to SendBinaryCommand. The reply lands in the same buffer; the result is returned as it came.
int SendPanelCommand(InstrumentLink& link, const PanelCommand& command, std::uint8_t* buffer);

// The same with a buffer of its own, for commands whose reply nobody reads.
int SendPanelCommand(InstrumentLink& link, const PanelCommand& command);

}  // namespace varnok
