#pragma once
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "calibration/PointArray.h"

namespace varnok {

// The vertical value of a column at a line that gave it no point (an empty or letter-led value). No value
// read from a file is ever NaN, so it cannot be mistaken for one.
inline constexpr double kNoPoint = std::numeric_limits<double>::quiet_NaN();
inline bool IsPoint(double y) { return !std::isnan(y); }

// One data column of a calibration file: its title from the header line (untrimmed) and one vertical
// value per data line, kNoPoint where the line gave the column no point.
struct CalibrationColumn {
  std::string title;
  PointArray ys;
};

// The points of a calibration file. Every data line's horizontal value (a whole number carried as a
// double) is kept once and shared by every column: point i of column m is (xs[i], columns[m].ys[i]) when
// that value is a point. A line that gives no column a point is not kept.
struct CalibrationPoints {
  PointArray xs;
  std::vector<CalibrationColumn> columns;

  std::size_t LineCount() const { return xs.size(); }
  // The points column m has, in the order they were added.
  std::vector<std::pair<double, double>> PointsOf(std::size_t m) const;
  std::size_t BytesInUse() const;
};

// The label of a point: its horizontal value in decimal, with a leading "-" when negative.
std::string PointLabel(double x);

}  // namespace varnok
