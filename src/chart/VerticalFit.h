#pragma once
#include <span>

#include "chart/ChartPoint.h"
#include "chart/RangePadding.h"

namespace varnok {

// The vertical range that fits the lines of a horizontal window: the lowest and highest finite value
// of the points whose x lies in [xMin, xMax], with a margin of 5 % of their spread at both ends so the
// extreme lines stay off the frame; 0 … 1 when no such point exists. A value that is not finite is no
// point and never widens the range.
class VerticalFit {
 public:
  VerticalFit(double xMin, double xMax) : xMin_(xMin), xMax_(xMax) {}

  void Add(std::span<const ChartPoint> points);
  bool Any() const { return any_; }
  PaddedRange Range() const;

 private:
  double xMin_;
  double xMax_;
  bool any_ = false;
  double low_ = 0;
  double high_ = 0;
};

}  // namespace varnok
