#include "CalibrationSeries.h"

#include <cmath>
#include <cstdio>

namespace varnok {

std::string PointLabel(double x) {
  const double whole = std::trunc(x);
  if (std::fabs(whole) < 9.0e18) return std::to_string(static_cast<long long>(whole));
  char text[400];
  std::snprintf(text, sizeof text, "%.0f", whole);
  return text;
}

}  // namespace varnok
