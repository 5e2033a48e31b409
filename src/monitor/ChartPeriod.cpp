#include "monitor/ChartPeriod.h"

#include <cmath>
#include <limits>

namespace varnok {

std::optional<int> ChartPeriodMs(double seconds) {
  if (!(seconds >= 0.01)) return std::nullopt;  // also refuses NaN
  const double ms = std::trunc(seconds * 1000);
  constexpr double kLongest = std::numeric_limits<int>::max();
  if (ms >= kLongest) return std::numeric_limits<int>::max();
  return static_cast<int>(ms);
}

long long ElapsedSeconds(int periodMs, int sampleCount) {
  return static_cast<long long>(periodMs) * sampleCount / 1000;
}

std::string ElapsedTimeTitle(long long seconds) {
  return "Total Time (" + std::to_string(seconds) + "s)  " + std::to_string(seconds / 3600) +
         "h:" + std::to_string((seconds / 60) % 60) + ":m:" + std::to_string(seconds % 60) + "s";
}

}  // namespace varnok
