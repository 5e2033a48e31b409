#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace varnok {

// One text for column 1 of the status grid.
struct StatusCell {
  int row = 0;
  std::string text;
  bool operator==(const StatusCell&) const = default;
};

// A reading of the status grid: value `valueNumber` of its block goes into `row` with `unit`.
struct StatusReading {
  int valueNumber = 0;
  int row = 0;
  const char* unit = "";
};

// One ReadValueBlock exchange of the status poll and the readings it feeds, in writing order.
struct StatusBlockStep {
  std::uint16_t firstValue = 0;
  std::uint16_t count = 0;
  std::vector<StatusReading> readings;
};

// The three value blocks of the poll, in the order they are read: (200, 60), (400, 4), (300, 10).
const std::vector<StatusBlockStep>& StatusBlockSteps();

// The cells a successful clock reply (result of 1 or more) writes: the clock text into row 1 when the
// reply holds all of it, and the fixed texts of rows 3 to 6.
std::vector<StatusCell> ClockStepCells(std::span<const std::uint8_t> reply);

// The cells a successful value-block reply (result of 2 or more) writes; a reading whose value lies
// beyond the end of the reply is left out, so its row keeps its text.
std::vector<StatusCell> BlockStepCells(const StatusBlockStep& step, std::span<const std::uint8_t> reply);

}  // namespace varnok
