#pragma once
#include <cmath>
#include <limits>

namespace varnok {

// A number rounded to single precision for a float32 field. Values beyond the single-precision range
// round to the largest float or to infinity as IEEE 754 rounding does (a plain cast of such a value is
// undefined behaviour).
inline float RoundToFloat32(double value) {
  constexpr float kMax = std::numeric_limits<float>::max();
  constexpr double kHalfwayToInfinity = 0x1.ffffffp127;
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  if (value > kMax) return value < kHalfwayToInfinity ? kMax : std::numeric_limits<float>::infinity();
  if (value < -kMax) return value > -kHalfwayToInfinity ? -kMax : -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

}  // namespace varnok
