#include "testpanel/PanelCommand.h"

#include <algorithm>
#include <array>

#include "link/InstrumentLink.h"

namespace varnok {

int SendPanelCommand(InstrumentLink& link, const PanelCommand& command, std::uint8_t* buffer) {
  std::fill(buffer, buffer + kBinaryDataSize, std::uint8_t{0});
  std::copy(command.payload.begin(), command.payload.end(), buffer);
  return link.SendBinaryCommand(command.code, command.Length(), buffer);
}

int SendPanelCommand(InstrumentLink& link, const PanelCommand& command) {
  std::array<std::uint8_t, kBinaryDataSize> buffer{};
  return SendPanelCommand(link, command, buffer.data());
}

}  // namespace varnok
