#pragma once
#include <vector>

#include "link/InstrumentLink.h"
#include "monitor/StatusPollSteps.h"

namespace varnok {

// One status poll (the Timer1 tick): nothing when no instrument is connected; otherwise ReadClock and
// the three value blocks, each step whatever the outcome of the ones before. Returns the cells to
// write into column 1, in writing order; a failed or too short step contributes none.
std::vector<StatusCell> PollStatus(InstrumentLink& link);

}  // namespace varnok
