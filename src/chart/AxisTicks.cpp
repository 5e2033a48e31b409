#include "chart/AxisTicks.h"

#include <cmath>
#include <cstdio>

namespace varnok {
namespace {

// Powers of ten below this are exact doubles.
constexpr int kExactPowers = 22;

double PowerOfTen(int exponent) {
  double power = 1;
  for (int i = 0; i < std::abs(exponent) && i < kExactPowers; ++i) power *= 10;
  if (std::abs(exponent) > kExactPowers) power = std::pow(10.0, std::abs(exponent));
  return exponent < 0 ? 1 / power : power;
}

int ExponentOf(double value) { return static_cast<int>(std::floor(std::log10(value))); }

}  // namespace

double TickStep::Value() const { return factor * PowerOfTen(exponent); }

double TickStep::Tick(long long index) const {
  const double whole = static_cast<double>(index) * factor;
  return exponent < 0 ? whole / PowerOfTen(-exponent) : whole * PowerOfTen(exponent);
}

TickStep StepAtLeast(double rough) {
  const int exponent = ExponentOf(rough);
  const double power = PowerOfTen(exponent);
  for (int factor : {1, 2, 5}) {
    if (power * factor >= rough) return {factor, exponent};
  }
  return {1, exponent + 1};
}

TickStep StepNearest(double span, int wanted) {
  const double raw = span / wanted;
  const int exponent = ExponentOf(raw);
  const double fraction = raw / PowerOfTen(exponent);
  if (fraction < 1.5) return {1, exponent};
  if (fraction < 3.5) return {2, exponent};
  if (fraction < 7.5) return {5, exponent};
  return {1, exponent + 1};
}

TickStep CoarserStep(TickStep step) {
  if (step.factor == 1) return {2, step.exponent};
  if (step.factor == 2) return {5, step.exponent};
  return {1, step.exponent + 1};
}

std::vector<double> TicksInside(double min, double max, TickStep step, std::size_t limit) {
  std::vector<double> ticks;
  const double value = step.Value();
  constexpr double kTolerance = 1e-9;
  // The rounding rest of min / step (-0.6 / 0.2 is -2.9999999999999996) must not drop the first tick.
  const auto first = static_cast<long long>(std::ceil(min / value - kTolerance));
  for (long long i = 0; ticks.size() <= limit; ++i) {
    const double tick = step.Tick(first + i);
    if (tick > max + value * kTolerance) break;
    ticks.push_back(tick == 0 ? 0.0 : tick);
  }
  return ticks;
}

std::vector<double> AxisTicks(double min, double max, int maxTicks) {
  if (!std::isfinite(min) || !std::isfinite(max) || !(max > min) || maxTicks < 1) return {};
  return TicksInside(min, max, StepAtLeast((max - min) / maxTicks), static_cast<std::size_t>(maxTicks) * 3);
}

std::string DecimalTickLabel(double value, double step, int digits) {
  if (std::fabs(value) < step * 1e-9) value = 0.0;
  char text[40];
  std::snprintf(text, sizeof text, "%.*g", digits, value);
  return text;
}

std::vector<LabelledTick> LabelFittedTicks(double min, double max, double pixels, int wanted,
                                           const TickLabeller& label, const LabelWidth& width, double gap) {
  if (!(max > min) || !(pixels > 0) || wanted < 1 || !std::isfinite(max - min)) return {};
  const double perUnit = pixels / (max - min);
  for (TickStep step = StepNearest(max - min, wanted);; step = CoarserStep(step)) {
    const double value = step.Value();
    std::vector<LabelledTick> ticks;
    // A step wider than the range leaves at most two ticks; the limit only guards the loop.
    for (double tick : TicksInside(min, max, step, 100000)) ticks.push_back({tick, label(tick, value)});
    bool apart = true;
    const double room = value * perUnit;
    for (std::size_t i = 1; i < ticks.size() && apart; ++i) {
      apart = room >= (width(ticks[i - 1].label) + width(ticks[i].label)) / 2 + gap;
    }
    // One tick or none always fits.
    if (apart || ticks.size() <= 1) return ticks;
  }
}

}  // namespace varnok
