#include "testpanel/FanCommand.h"

#include "link/CommandCodes.h"
#include "link/LittleEndian.h"

namespace varnok {

PanelCommand FanSpeedCommand(int position) {
  const auto value = static_cast<std::uint16_t>(static_cast<unsigned>(position) & 0xFFFFu);
  PanelCommand command{cmd::kFanSpeed, std::vector<std::uint8_t>(2)};
  PutUInt16(command.payload.data(), value);
  return command;
}

}  // namespace varnok
