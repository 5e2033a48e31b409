#pragma once

namespace varnok {

// One point of a chart line in data units.
struct ChartPoint {
  double x = 0;
  double y = 0;
  bool operator==(const ChartPoint&) const = default;
};

// A rectangle of a chart's data space.
struct ChartRect {
  double xMin = 0;
  double xMax = 0;
  double yMin = 0;
  double yMax = 0;
  bool operator==(const ChartRect&) const = default;
};

}  // namespace varnok
