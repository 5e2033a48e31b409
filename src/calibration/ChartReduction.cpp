#include "ChartReduction.h"

#include <algorithm>
#include <cmath>

namespace varnok {

std::vector<CalPoint> ReduceToPixelColumns(std::span<const double> xs, std::span<const double> ys,
                                             double xMin, double xMax, int pixelColumns) {
  std::vector<CalPoint> out;
  const std::size_t count = std::min(xs.size(), ys.size());
  if (count == 0 || pixelColumns <= 0 || !(xMin <= xMax)) return out;
  const auto first = static_cast<std::size_t>(std::lower_bound(xs.begin(), xs.begin() + count, xMin) - xs.begin());
  const auto last = static_cast<std::size_t>(std::upper_bound(xs.begin(), xs.begin() + count, xMax) - xs.begin());

  if (first > 0) out.push_back({xs[first - 1], ys[first - 1]});
  const double width = xMax - xMin;
  const double scale = width > 0 ? pixelColumns / width : 0.0;
  std::size_t i = first;
  while (i < last) {
    const long column = std::min<long>(static_cast<long>((xs[i] - xMin) * scale), pixelColumns - 1);
    // The points of this pixel column run from i up to the first point of a later column.
    std::size_t begin = i, lowest = i, highest = i;
    for (++i; i < last && std::min<long>(static_cast<long>((xs[i] - xMin) * scale), pixelColumns - 1) == column; ++i) {
      if (ys[i] < ys[lowest]) lowest = i;
      if (ys[i] > ys[highest]) highest = i;
    }
    const std::size_t end = i - 1;
    std::size_t picks[4] = {begin, lowest, highest, end};
    std::sort(picks, picks + 4);
    for (int k = 0; k < 4; ++k) {
      if (k == 0 || picks[k] != picks[k - 1]) out.push_back({xs[picks[k]], ys[picks[k]]});
    }
  }
  if (last < count) out.push_back({xs[last], ys[last]});
  return out;
}

}  // namespace varnok
