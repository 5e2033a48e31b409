#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "calibration/CalibrationPoints.h"

namespace varnok {

struct ChartPlace {
  int left;
  int top;
  int width;
  int height;
  bool operator==(const ChartPlace&) const = default;
};

struct HorizontalRange {
  double min;
  double max;
  bool operator==(const HorizontalRange&) const = default;
};

// The stack of calibration charts, one per column of the file displayed last, and the rule that keeps
// their horizontal zoom in step. Knows titles, points, places and horizontal ranges; drawing is the
// chart widgets' business.
class CalibrationChartModel {
 public:
  static constexpr int kChartLeft = 50;
  static constexpr int kChartPitch = 200;
  static constexpr int kChartWidth = 400;
  static constexpr int kChartHeight = 190;

  struct Chart {
    std::string title;               // the column title, untrimmed; also the vertical axis title
    HorizontalRange data{0.0, 0.0};  // from its first to its last point
    bool automatic = true;           // horizontal range fitted to the data
    HorizontalRange fixed{0.0, 0.0};
  };

  // Removes every chart; hands back their points, whose memory goes with them.
  CalibrationPoints Clear();
  // Replaces the stack with one chart per column, each with an automatic horizontal range. The lines
  // are put in ascending order of x (equal values keep the order they were added in).
  void Build(CalibrationPoints points);

  std::size_t Count() const { return charts_.size(); }
  const Chart& At(std::size_t k) const { return charts_.at(k); }
  // The horizontal values every chart shares, ascending, and chart k's vertical values (kNoPoint where
  // the chart has no point at that x).
  std::span<const double> Xs() const { return points_.xs; }
  std::span<const double> Ys(std::size_t k) const { return points_.columns.at(k).ys; }
  // Chart k's points as (x, y) pairs.
  std::vector<std::pair<double, double>> PointsOf(std::size_t k) const { return points_.PointsOf(k); }
  static ChartPlace Geometry(std::size_t k);

  // The range the chart's horizontal axis shows: the data's extent when automatic (0 … 0 without
  // points), otherwise the fixed range.
  HorizontalRange Range(std::size_t k) const;
  bool IsAutomatic(std::size_t k) const { return charts_.at(k).automatic; }

  // The technician zoomed chart k to min … max: both ends are cut toward zero to whole numbers, the zoom
  // label shows them, and every chart (k included) is fixed to that range. Ignored when k is no chart.
  void Zoom(std::size_t k, double min, double max);
  // The chart's own undo gesture: chart k alone goes back to its automatic range.
  void UndoZoom(std::size_t k);
  // "Reset Zoom": every chart back to its automatic range; the label stays.
  void ResetZoom();

  // The text of the zoom label: "Label49" until the first zoom, then "Cal zoom <min> <max>".
  const std::string& ZoomLabel() const { return zoomLabel_; }

 private:
  CalibrationPoints points_;
  std::vector<Chart> charts_;
  std::string zoomLabel_ = "Label49";
};

}  // namespace varnok
