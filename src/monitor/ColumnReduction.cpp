#include "monitor/ColumnReduction.h"

#include <cmath>
#include <cstddef>

namespace varnok {
namespace {

struct Column {
  std::size_t first, last, low, high;
};

void EmitColumn(const PointRing& points, const Column& c, std::vector<ChartPoint>& out) {
  std::size_t order[4] = {c.first, c.low < c.high ? c.low : c.high, c.low < c.high ? c.high : c.low,
                          c.last};
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
  std::size_t begin = points.LowerBound(xMin);
  const std::size_t end = points.LowerBound(std::nextafter(xMax, INFINITY));  // first x above xMax

  // The neighbours outside the range (the nearest finite ones) carry the line to the borders.
  std::size_t left = begin;
  while (left > 0) {
    --left;
    if (std::isfinite(points[left].y)) {
      out.push_back(points[left]);
      break;
    }
  }

  const double span = xMax - xMin;
  const double scale = span > 0 ? columns / span : 0.0;
  const int lastColumn = columns - 1;
  bool open = false;
  int current = 0;
  Column column{};
  for (std::size_t i = begin; i < end; ++i) {
    const ChartPoint& p = points[i];
    if (!std::isfinite(p.y)) continue;
    int at = static_cast<int>((p.x - xMin) * scale);
    if (at > lastColumn) at = lastColumn;
    if (at < 0) at = 0;
    if (!open || at != current) {
      if (open) EmitColumn(points, column, out);
      open = true;
      current = at;
      column = {i, i, i, i};
      continue;
    }
    column.last = i;
    if (p.y < points[column.low].y) column.low = i;
    if (p.y > points[column.high].y) column.high = i;
  }
  if (open) EmitColumn(points, column, out);

  for (std::size_t right = end; right < points.size(); ++right) {
    if (std::isfinite(points[right].y)) {
      out.push_back(points[right]);
      break;
    }
  }
}

}  // namespace varnok
