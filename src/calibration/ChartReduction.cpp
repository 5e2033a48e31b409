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
  const auto isPoint = [&ys](std::size_t i) { return !std::isnan(ys[i]); };

  for (std::size_t i = first; i > 0; --i) {
    if (isPoint(i - 1)) {
      out.push_back({xs[i - 1], ys[i - 1]});
      break;
    }
  }
  const double width = xMax - xMin;
  const double scale = width > 0 ? pixelColumns / width : 0.0;
  const auto columnOf = [&](std::size_t i) {
    return std::min<long>(static_cast<long>((xs[i] - xMin) * scale), pixelColumns - 1);
  };
  std::size_t i = first;
  while (i < last) {
    if (!isPoint(i)) {
      ++i;
      continue;
    }
    const long column = columnOf(i);
    // The points of this pixel column run from i up to the first point of a later column.
    std::size_t begin = i, lowest = i, highest = i, end = i;
    for (++i; i < last && columnOf(i) == column; ++i) {
      if (!isPoint(i)) continue;
      if (ys[i] < ys[lowest]) lowest = i;
      if (ys[i] > ys[highest]) highest = i;
      end = i;
    }
    std::size_t picks[4] = {begin, lowest, highest, end};
    std::sort(picks, picks + 4);
    for (int k = 0; k < 4; ++k) {
      if (k == 0 || picks[k] != picks[k - 1]) out.push_back({xs[picks[k]], ys[picks[k]]});
    }
  }
  for (std::size_t j = last; j < count; ++j) {
    if (isPoint(j)) {
      out.push_back({xs[j], ys[j]});
      break;
    }
  }
  return out;
}

}  // namespace varnok
