#pragma once
#include <functional>
#include <string>

namespace varnok {

// "Set Zone" sends nothing to the instrument: it only reports whether the measurement program runs.
// `isProcessRunning` is the running-process check; the answer is the status text to show.
std::string SetZoneCheck(const std::string& programName,
                         const std::function<bool(const std::string&)>& isProcessRunning);

}  // namespace varnok
