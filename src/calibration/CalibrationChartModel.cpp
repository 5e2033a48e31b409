#include "calibration/CalibrationChartModel.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace varnok {

namespace {

// Puts the lines in ascending order of x; equal x keep their order. Calibration files are nearly
// always in order already, so that case costs one pass. Each column is rearranged through one spare
// column's worth of memory.
void SortByX(CalibrationPoints& points) {
  PointArray& xs = points.xs;
  if (std::is_sorted(xs.begin(), xs.end())) return;
  std::vector<std::size_t> order(xs.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&xs](std::size_t a, std::size_t b) { return xs[a] < xs[b]; });
  std::vector<double> sorted(xs.size());
  const auto rearrange = [&](PointArray& values) {
    for (std::size_t i = 0; i < order.size(); ++i) sorted[i] = values[order[i]];
    std::copy(sorted.begin(), sorted.end(), values.data());
  };
  rearrange(xs);
  for (CalibrationColumn& column : points.columns) rearrange(column.ys);
}

std::string WholeNumberText(double value) { return std::to_string(static_cast<long long>(value)); }

}  // namespace

CalibrationPoints CalibrationChartModel::Clear() {
  charts_.clear();
  return std::exchange(points_, CalibrationPoints{});
}

void CalibrationChartModel::Build(CalibrationPoints points) {
  charts_.clear();
  points_ = std::move(points);
  SortByX(points_);
  charts_.reserve(points_.columns.size());
  const PointArray& xs = points_.xs;
  for (CalibrationColumn& column : points_.columns) {
    Chart chart;
    chart.title = column.title;
    std::size_t first = 0, last = column.ys.size();
    while (first < last && !IsPoint(column.ys[first])) ++first;
    while (last > first && !IsPoint(column.ys[last - 1])) --last;
    if (first < last) chart.data = {xs[first], xs[last - 1]};
    charts_.push_back(std::move(chart));
  }
}

ChartPlace CalibrationChartModel::Geometry(std::size_t k) {
  return {kChartLeft, static_cast<int>(k) * kChartPitch, kChartWidth, kChartHeight};
}

HorizontalRange CalibrationChartModel::Range(std::size_t k) const {
  const Chart& chart = charts_.at(k);
  return chart.automatic ? chart.data : chart.fixed;
}

void CalibrationChartModel::Zoom(std::size_t k, double min, double max) {
  if (k >= charts_.size() || !std::isfinite(min) || !std::isfinite(max)) return;
  // Cut toward zero; keep the ends inside what a whole-number text can show.
  constexpr double kLimit = 9.0e18;
  const double low = std::trunc(std::clamp(min, -kLimit, kLimit));
  const double high = std::trunc(std::clamp(max, -kLimit, kLimit));
  zoomLabel_ = "Cal zoom " + WholeNumberText(low) + " " + WholeNumberText(high);
  // Both ends are set in one step, so a new range wholly below or above a chart's current one is taken
  // as it is.
  for (Chart& chart : charts_) {
    chart.automatic = false;
    chart.fixed = {low, high};
  }
}

void CalibrationChartModel::UndoZoom(std::size_t k) {
  if (k < charts_.size()) charts_[k].automatic = true;
}

void CalibrationChartModel::ResetZoom() {
  for (Chart& chart : charts_) chart.automatic = true;
}

}  // namespace varnok
