#include "chart/VerticalFit.h"

#include <algorithm>
#include <cmath>

namespace varnok {

void VerticalFit::Add(std::span<const ChartPoint> points) {
  for (const ChartPoint& p : points) {
    if (p.x < xMin_ || p.x > xMax_ || !std::isfinite(p.y)) continue;
    if (!any_) {
      low_ = high_ = p.y;
      any_ = true;
    } else {
      low_ = std::min(low_, p.y);
      high_ = std::max(high_, p.y);
    }
  }
}

PaddedRange VerticalFit::Range() const {
  if (!any_) return {0, 1};
  const double margin = (high_ - low_) * 0.05;
  return {low_ - margin, high_ + margin};
}

}  // namespace varnok
