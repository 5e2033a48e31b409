#include "monitor/AxisTicks.h"

#include <cmath>

namespace varnok {

std::vector<double> AxisTicks(double min, double max, int maxTicks) {
  std::vector<double> ticks;
  if (!std::isfinite(min) || !std::isfinite(max) || !(max > min) || maxTicks < 1) return ticks;
  const double rough = (max - min) / maxTicks;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double factor = 10;
  for (double f : {1.0, 2.0, 5.0}) {
    if (power * f >= rough) {
      factor = f;
      break;
    }
  }
  const double step = power * factor;
  // Ticks below 1 are divided by the power's inverse, so 3 steps of 0.1 give 0.3 exactly.
  const double inverse = power < 1 ? std::round(1 / power) : 0;
  auto tick = [&](double k) { return inverse > 0 ? k * factor / inverse : k * step; };
  const double tolerance = 1e-9;
  for (double k = std::ceil(min / step - tolerance);; k += 1) {
    const double value = tick(k);
    if (value > max + step * tolerance) break;
    ticks.push_back(value == 0 ? 0.0 : value);
    if (ticks.size() > static_cast<std::size_t>(maxTicks) * 3) break;
  }
  return ticks;
}

}  // namespace varnok
