#include "testpanel/FanCommand.h"

#include "link/CommandCodes.h"

namespace varnok {

PanelCommand FanSpeedCommand(int position) {
  const auto value = static_cast<std::uint16_t>(static_cast<unsigned>(position) & 0xFFFFu);
  return PanelCommand{cmd::kFanSpeed,
                      {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)}};
}

}  // namespace varnok
