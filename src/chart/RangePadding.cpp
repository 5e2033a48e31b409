#include "chart/RangePadding.h"

#include <algorithm>
#include <cmath>

namespace varnok {

PaddedRange PadRange(double min, double max, double smallestPad) {
  if (max > min) return {min, max};
  double pad = std::max(smallestPad, std::fabs(min) * 0.05);
  if (!(pad > 0)) pad = 1;
  return {min - pad, min + pad};
}

}  // namespace varnok
