#include "chart/ColumnReduction.h"

namespace varnok {

bool SpanPoints::Extremes(std::size_t from, std::size_t to, std::size_t& low, std::size_t& high) const {
  bool any = false;
  for (std::size_t i = from; i < to && i < count_; ++i) {
    const double y = ys_[i];
    if (!std::isfinite(y)) continue;
    if (!any) {
      low = high = i;
      any = true;
    } else if (y < ys_[low]) {
      low = i;
    } else if (y > ys_[high]) {
      high = i;
    }
  }
  return any;
}

std::vector<ChartPoint> ReduceToColumns(std::span<const double> xs, std::span<const double> ys, double xMin,
                                        double xMax, int columns) {
  std::vector<ChartPoint> out;
  ReduceToColumns(SpanPoints(xs.data(), ys.data(), std::min(xs.size(), ys.size())), xMin, xMax, columns, out);
  return out;
}

}  // namespace varnok
