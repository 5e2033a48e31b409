#include "monitor/StatusPollSteps.h"

#include "monitor/ClockText.h"
#include "monitor/ReadingText.h"

namespace varnok {

const std::vector<StatusBlockStep>& StatusBlockSteps() {
  static const std::vector<StatusBlockStep> steps = {
      {200, 60, {{17, 7, " K"}, {26, 10, " mbar"}, {7, 12, " V"}}},
      {400, 4, {{1, 8, " C"}, {0, 9, " %"}}},
      {300, 10, {{0, 11, " K"}}},
  };
  return steps;
}

std::vector<StatusCell> ClockStepCells(std::span<const std::uint8_t> reply) {
  std::vector<StatusCell> cells;
  if (std::optional<std::string> clock = ClockText(reply)) cells.push_back({1, std::move(*clock)});
  cells.push_back({3, "Stopped"});
  cells.push_back({4, "OK"});
  cells.push_back({5, "303.1 K"});
  cells.push_back({6, "304.2 K"});
  return cells;
}

std::vector<StatusCell> BlockStepCells(const StatusBlockStep& step, std::span<const std::uint8_t> reply) {
  std::vector<StatusCell> cells;
  for (const StatusReading& reading : step.readings) {
    if (std::optional<std::string> text = ReadingText(reply, reading.valueNumber, reading.unit)) {
      cells.push_back({reading.row, std::move(*text)});
    }
  }
  return cells;
}

}  // namespace varnok
