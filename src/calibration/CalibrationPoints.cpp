#include "calibration/CalibrationPoints.h"

#include <cstdio>

namespace varnok {

std::vector<std::pair<double, double>> CalibrationPoints::PointsOf(std::size_t m) const {
  std::vector<std::pair<double, double>> points;
  const PointArray& ys = columns.at(m).ys;
  for (std::size_t i = 0; i < ys.size(); ++i) {
    if (IsPoint(ys[i])) points.emplace_back(xs[i], ys[i]);
  }
  return points;
}

std::size_t CalibrationPoints::BytesInUse() const {
  std::size_t bytes = xs.BytesInUse();
  for (const CalibrationColumn& column : columns) bytes += column.ys.BytesInUse();
  return bytes;
}

std::string PointLabel(double x) {
  const double whole = std::trunc(x);
  if (std::fabs(whole) < 9.0e18) return std::to_string(static_cast<long long>(whole));
  char text[400];
  std::snprintf(text, sizeof text, "%.0f", whole);
  return text;
}

}  // namespace varnok
