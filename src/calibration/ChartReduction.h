#pragma once
#include <span>
#include <vector>

namespace varnok {

struct CalPoint {
  double x;
  double y;
  bool operator==(const CalPoint&) const = default;
};

// What a chart of `pixelColumns` columns needs to draw the points of the horizontal range
// xMin … xMax exactly as the full data would: per pixel column the first, lowest, highest and last
// point (in their original order, each once), plus the nearest point outside each end of the range so
// that the line runs on to the edges. xs must be in ascending order. A NaN in ys is no point and is left
// out (the columns of a file share one x array and mark their missing points so).
std::vector<CalPoint> ReduceToPixelColumns(std::span<const double> xs, std::span<const double> ys,
                                             double xMin, double xMax, int pixelColumns);

}  // namespace varnok
