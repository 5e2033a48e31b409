#pragma once
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>
#include <vector>

#include "chart/ChartPoint.h"

namespace varnok {

// Reduces the points of one line that a plot `columns` pixels wide shows over [xMin, xMax] to what a
// line through all of them would draw: per pixel column its first, lowest, highest and last point, in
// x order, each once. The nearest point outside each edge is kept too, so the line runs on to the
// border. A point whose value is not finite is no point: it is left out everywhere and never counts
// as an extreme. Appends to `out`.
//
// `Points` holds the line in ascending x order and offers:
//   size(), X(i), Y(i), operator[](i) -> ChartPoint,
//   LowerBound(x)                 the first index whose x is not below x,
//   Extremes(from, to, low, high) the first lowest and highest finite value of [from, to); false
//                                 when the stretch holds none,
//   FirstBeyond(from, to, beyond, guess)  the first index of [from, to) whose x makes `beyond` true,
//   Prefetch(i)                   a hint that point i is read soon.
// SpanPoints below is the plain form over two arrays; a store may answer faster from summaries.
//
// Each file that reduces gets its own copy (static): the compiler then puts the column search and the
// per-column step in place, as it does for a function of one file only, a few per cent faster than a
// shared copy.
template <typename Points>
static void ReduceToColumns(const Points& points, double xMin, double xMax, int columns,
                            std::vector<ChartPoint>& out) {
  if (points.size() == 0 || columns <= 0 || !(xMax >= xMin)) return;
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
  // What a line through points [from, to) of one pixel column draws: the first, lowest, highest and
  // last finite point, in x order. (A lambda, so that the compiler puts it in place.)
  auto emitColumn = [&points, &out](std::size_t from, std::size_t to) {
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
  };
  // x ascends, so the points of one column are a stretch; columns mostly hold alike counts.
  std::size_t previousLength = 0;
  for (std::size_t from = begin; from < end;) {
    // The stretches of the next columns may lie far apart in memory: fetch them while this one runs.
    for (std::size_t ahead = 2; ahead <= 4 && previousLength > 0; ++ahead) {
      points.Prefetch(from + ahead * previousLength);
    }
    const int column = columnOf(points.X(from));
    const std::size_t next = points.FirstBeyond(
        from + 1, end, [&](double x) { return columnOf(x) > column; }, from + previousLength);
    emitColumn(from, next);
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

// Two arrays of equal length, x ascending, seen as a line for ReduceToColumns.
class SpanPoints {
 public:
  SpanPoints(const double* xs, const double* ys, std::size_t count) : xs_(xs), ys_(ys), count_(count) {}

  std::size_t size() const { return count_; }
  double X(std::size_t i) const { return xs_[i]; }
  double Y(std::size_t i) const { return ys_[i]; }
  ChartPoint operator[](std::size_t i) const { return {xs_[i], ys_[i]}; }
  std::size_t LowerBound(double x) const {
    return static_cast<std::size_t>(std::lower_bound(xs_, xs_ + count_, x) - xs_);
  }
  bool Extremes(std::size_t from, std::size_t to, std::size_t& low, std::size_t& high) const;
  template <typename Beyond>
  std::size_t FirstBeyond(std::size_t from, std::size_t to, Beyond beyond, std::size_t guess = 0) const;
  void Prefetch(std::size_t) const {}

 private:
  const double* xs_;
  const double* ys_;
  std::size_t count_;
};

// The same for a line kept as two arrays (the shorter one sets the length).
std::vector<ChartPoint> ReduceToColumns(std::span<const double> xs, std::span<const double> ys, double xMin,
                                        double xMax, int columns);

template <typename Beyond>
std::size_t SpanPoints::FirstBeyond(std::size_t from, std::size_t to, Beyond beyond,
                                    std::size_t guess) const {
  if (to > count_) to = count_;
  if (from >= to || beyond(xs_[from])) return std::min(from, to);
  if (guess > from && guess < to && beyond(xs_[guess]) && !beyond(xs_[guess - 1])) return guess;
  // Gallop from `from`, then bisect: the turn is usually near.
  std::size_t low = from;  // not beyond
  std::size_t high = to;   // beyond, or the end
  for (std::size_t step = 1; low + step < to; step *= 2) {
    if (beyond(xs_[low + step])) {
      high = low + step;
      break;
    }
    low += step;
  }
  while (high - low > 1) {
    const std::size_t mid = low + (high - low) / 2;
    if (beyond(xs_[mid])) {
      high = mid;
    } else {
      low = mid;
    }
  }
  return high;
}

}  // namespace varnok
