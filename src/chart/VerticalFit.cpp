#include "chart/VerticalFit.h"

#include <algorithm>
#include <cmath>

namespace varnok {

void VerticalFit::Add(std::span<const ChartPoint> points) {
  // Locals, not the members: the points could otherwise alias them, and every step would go to memory.
  const double xMin = xMin_;
  const double xMax = xMax_;
  bool any = any_;
  double low = low_;
  double high = high_;
  for (const ChartPoint& p : points) {
    if (p.x < xMin || p.x > xMax || !std::isfinite(p.y)) continue;
    if (!any) {
      low = high = p.y;
      any = true;
    } else {
      low = std::min(low, p.y);
      high = std::max(high, p.y);
    }
  }
  any_ = any;
  low_ = low;
  high_ = high;
}

PaddedRange VerticalFit::Range() const {
  if (!any_) return {0, 1};
  const double margin = (high_ - low_) * 0.05;
  return {low_ - margin, high_ + margin};
}

}  // namespace varnok
