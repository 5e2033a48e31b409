#pragma once
#include <chrono>
#include <cstdint>
#include <vector>

namespace varnok::sim {

// One step of the simulator's answer to a request: a write of some bytes after a pause, or what
// happens to the line instead of (or after) the writes.
struct Step {
  enum class Action {
    kWrite,        // write `bytes`
    kClose,        // close the connection
    kReset,        // abort the connection with a reset
    kStopReading,  // keep the connection open and never read from it again
    kHangUp,       // close the serial line's instrument side
  };
  Action action = Action::kWrite;
  std::vector<std::uint8_t> bytes;
  std::chrono::milliseconds delay{0};  // before this step
};

// The steps of one answer, in order; empty when the request is never answered.
using Plan = std::vector<Step>;

}  // namespace varnok::sim
