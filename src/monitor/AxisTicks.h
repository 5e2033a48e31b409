#pragma once
#include <vector>

namespace varnok {

// Round tick values (steps of 1, 2 or 5 times a power of ten) inside [min, max], at most about
// `maxTicks` of them.
std::vector<double> AxisTicks(double min, double max, int maxTicks);

}  // namespace varnok
