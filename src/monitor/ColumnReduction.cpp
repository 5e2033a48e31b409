#include "monitor/ColumnReduction.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace varnok {
namespace {

// Emits what a line through points [from, to) of one pixel column draws: the first, lowest, highest
// and last finite point, in x order.
void EmitColumn(const PointRing& points, std::size_t from, std::size_t to, std::vector<ChartPoint>& out) {
  std::size_t low = 0;
  std::size_t high = 0;
  if (!points.Extremes(from, to, low, high)) return;
  std::size_t first = from;
  while (!std::isfinite(points.Y(first))) ++first;
  std::size_t last = to - 1;
  while (!std::isfinite(points.Y(last))) --last;
  const std::size_t order[4] = {first, std::min(low, high), std::max(low, high), last};
  std::size_t previous = static_cast<std::size_t>(-1);
  for (std::size_t index : order) {
    if (index == previous) continue;
    out.push_back(points[index]);
    previous = index;
  }
}

}  // namespace

void ReduceToColumns(const PointRing& points, double xMin, double xMax, int columns,
                     std::vector<ChartPoint>& out) {
  if (points.empty() || columns <= 0 || !(xMax >= xMin)) return;
  const std::size_t begin = points.LowerBound(xMin);
  const std::size_t end = points.LowerBound(std::nextafter(xMax, INFINITY));  // first x above xMax

  // The neighbours outside the range (the nearest finite ones) carry the line to the borders.
  for (std::size_t left = begin; left > 0;) {
    --left;
    if (std::isfinite(points.Y(left))) {
      out.push_back(points[left]);
      break;
    }
  }

  const double span = xMax - xMin;
  const double scale = span > 0 ? columns / span : 0.0;
  const int lastColumn = columns - 1;
  auto columnOf = [&](double x) { return std::clamp(static_cast<int>((x - xMin) * scale), 0, lastColumn); };
  // x ascends, so the points of one column are a stretch; columns mostly hold alike counts.
  std::size_t previousLength = 0;
  for (std::size_t from = begin; from < end;) {
    // The stretches of the next columns are far apart in memory: fetch them while this one runs.
    for (std::size_t ahead = 2; ahead <= 4 && previousLength > 0; ++ahead) points.Prefetch(from + ahead * previousLength);
    const int column = columnOf(points.X(from));
    const std::size_t next = points.FirstBeyond(
        from + 1, end, [&](double x) { return columnOf(x) > column; }, from + previousLength);
    EmitColumn(points, from, next, out);
    previousLength = next - from;
    from = next;
  }

  for (std::size_t right = end; right < points.size(); ++right) {
    if (std::isfinite(points.Y(right))) {
      out.push_back(points[right]);
      break;
    }
  }
}

}  // namespace varnok
