// FormatFixed: every finite value gives a text that reads back as a number, within half a unit of the
// last place written (or of the last significant digit kept).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "fuzz/FuzzInput.h"
#include "core/TextConversions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double) + 2) return 0;
  double value = 0;
  std::memcpy(&value, data, sizeof value);
  if (!std::isfinite(value)) return 0;
  const int precision = static_cast<int>(data[8] % 24) - 2;
  const int decimals = static_cast<int>(data[9] % 24) - 2;
  const std::string text = varnok::FormatFixed(value, precision, decimals);
  const double back = varnok::ParseNumberText(text);  // throws (and so fails) when it cannot be read
  FUZZ_CHECK(std::isfinite(back));
  const int p = std::clamp(precision, 2, 18);
  const int d = std::clamp(decimals, 0, 18);
  // Allowed error: a unit of the last decimal written, or of the last significant digit kept.
  const double magnitude = std::fabs(value);
  const double digitUnit = magnitude > 0 ? std::pow(10.0, std::floor(std::log10(magnitude)) - p + 1) : 0;
  const double allowed = std::max(std::pow(10.0, -d), digitUnit) * (1 + 1e-9) + magnitude * 1e-15;
  FUZZ_CHECK(std::fabs(back - value) <= allowed);
  return 0;
}
