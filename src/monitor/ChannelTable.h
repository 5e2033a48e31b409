#pragma once
#include <string>
#include <vector>

namespace varnok {

// The housekeeping channels the monitor chart offers, in list order; channel k is value k of the
// value block (200, 60).
const std::vector<std::string>& MonitorChannelNames();

}  // namespace varnok
