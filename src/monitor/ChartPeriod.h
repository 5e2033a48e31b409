#pragma once
#include <optional>
#include <string>

namespace varnok {

// The chart timer period for a time step of `seconds`: the step in milliseconds, truncated toward
// zero (0.5 gives 500, 0.0125 gives 12). Steps below 0.01 s give nothing; steps too long for the
// timer give its longest period.
std::optional<int> ChartPeriodMs(double seconds);

// The elapsed seconds shown in the chart title: period times samples, in whole seconds.
long long ElapsedSeconds(int periodMs, int sampleCount);

// "Total Time (3725s)  1h:2:m:5s".
std::string ElapsedTimeTitle(long long seconds);

}  // namespace varnok
