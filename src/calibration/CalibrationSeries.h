#pragma once
#include <string>
#include <vector>

namespace varnok {

// One data column of a calibration file: its title from the header line (untrimmed) and its points.
// Point i is (xs[i], ys[i]); the horizontal value is a whole number carried as a double. The points are
// kept as two parallel arrays because a long campaign gives hundreds of thousands per column.
struct CalibrationSeries {
  std::string title;
  std::vector<double> xs;
  std::vector<double> ys;

  std::size_t size() const { return xs.size(); }
};

// The label of a point: its horizontal value in decimal, with a leading "-" when negative.
std::string PointLabel(double x);

}  // namespace varnok
