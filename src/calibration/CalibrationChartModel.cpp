#include "CalibrationChartModel.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace varnok {

namespace {

// Puts the points in ascending order of x; equal x keep their order. Calibration files are nearly
// always in order already, so that case costs one pass.
void SortByX(std::vector<double>& xs, std::vector<double>& ys) {
  if (std::is_sorted(xs.begin(), xs.end())) return;
  std::vector<std::size_t> order(xs.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&xs](std::size_t a, std::size_t b) { return xs[a] < xs[b]; });
  std::vector<double> sortedX(xs.size()), sortedY(ys.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    sortedX[i] = xs[order[i]];
    sortedY[i] = ys[order[i]];
  }
  xs = std::move(sortedX);
  ys = std::move(sortedY);
}

std::string WholeNumberText(double value) {
  return std::to_string(static_cast<long long>(value));
}

}  // namespace

std::vector<CalibrationSeries> CalibrationChartModel::Clear() {
  std::vector<CalibrationSeries> storage;
  storage.reserve(charts_.size());
  for (Chart& chart : charts_) {
    chart.xs.clear();
    chart.ys.clear();
    storage.push_back(CalibrationSeries{std::string(), std::move(chart.xs), std::move(chart.ys)});
  }
  charts_.clear();
  return storage;
}

void CalibrationChartModel::Build(std::vector<CalibrationSeries> series) {
  charts_.clear();
  charts_.reserve(series.size());
  for (CalibrationSeries& column : series) {
    Chart chart;
    chart.title = std::move(column.title);
    chart.xs = std::move(column.xs);
    chart.ys = std::move(column.ys);
    SortByX(chart.xs, chart.ys);
    charts_.push_back(std::move(chart));
  }
}

ChartPlace CalibrationChartModel::Geometry(std::size_t k) {
  return {kChartLeft, static_cast<int>(k) * kChartPitch, kChartWidth, kChartHeight};
}

HorizontalRange CalibrationChartModel::Range(std::size_t k) const {
  const Chart& chart = charts_.at(k);
  if (!chart.automatic) return chart.fixed;
  if (chart.xs.empty()) return {0.0, 0.0};
  return {chart.xs.front(), chart.xs.back()};
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
