#include "testpanel/OptionBits.h"

#include "link/CommandCodes.h"
#include "link/LittleEndian.h"

namespace varnok {

PanelCommand SetOptionBitCommand(std::uint32_t mask, bool on) {
  PanelCommand command{on ? cmd::kSetOptionBits : cmd::kClearOptionBits, std::vector<std::uint8_t>(4)};
  PutUInt32(command.payload.data(), mask);
  return command;
}

PanelCommand ReadOptionBitsCommand() { return PanelCommand{cmd::kReadOptionBits, {}}; }

std::optional<OptionStates> DecodeOptionReply(int result, const std::uint8_t* reply) {
  if (result < 2 || reply == nullptr) return std::nullopt;
  const std::uint8_t bits = reply[0];
  OptionStates states{};
  for (std::size_t i = 0; i < kOptionBoxes.size(); ++i) states[i] = (bits & kOptionBoxes[i].mask) != 0;
  return states;
}

std::vector<OptionChange> RefreshChanges(const OptionStates& shown, const OptionStates& reported) {
  std::vector<OptionChange> changes;
  for (std::size_t i = 0; i < kOptionBoxes.size(); ++i) {
    if (shown[i] != reported[i]) changes.push_back({i, reported[i]});
  }
  return changes;
}

}  // namespace varnok
