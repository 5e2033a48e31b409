#include "monitor/StatusPoll.h"

#include <algorithm>
#include <array>

#include "link/CommandCodes.h"
#include "monitor/ValueBlock.h"

namespace varnok {

std::vector<StatusCell> PollStatus(InstrumentLink& link) {
  std::vector<StatusCell> cells;
  if (!link.IsConnected()) return cells;

  // One buffer for all four exchanges: the request goes in, the reply replaces it.
  std::array<std::uint8_t, kBinaryDataSize> data{};
  auto reply = [&data](int result) {
    const std::size_t length = std::min(static_cast<std::size_t>(result), data.size());
    return std::span<const std::uint8_t>(data.data(), length);
  };

  const int clockResult = link.SendBinaryCommand(cmd::kReadClock, 0, data.data());
  if (clockResult >= 1) {
    for (StatusCell& cell : ClockStepCells(reply(clockResult))) cells.push_back(std::move(cell));
  }

  for (const StatusBlockStep& step : StatusBlockSteps()) {
    WriteValueBlockRequest(data.data(), step.firstValue, step.count);
    const int result = link.SendBinaryCommand(cmd::kReadValueBlock, kValueBlockRequestLength, data.data());
    if (result < 2) continue;
    for (StatusCell& cell : BlockStepCells(step, reply(result))) cells.push_back(std::move(cell));
  }
  return cells;
}

}  // namespace varnok
