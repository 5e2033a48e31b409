#include "AxisLabelTicks.h"

#include <cmath>
#include <cstdio>

namespace varnok {

namespace {

// The step of 1, 2 or 5 times a power of ten nearest to giving `wanted` intervals over `span`.
double RoundStep(double span, int wanted) {
  const double raw = span / wanted;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  const double fraction = raw / power;
  const double nice = fraction < 1.5 ? 1.0 : fraction < 3.5 ? 2.0 : fraction < 7.5 ? 5.0 : 10.0;
  return nice * power;
}

// The next coarser step of the 1, 2, 5 series.
double CoarserStep(double step) {
  const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  const double fraction = step / power;
  return (fraction < 1.5 ? 2.0 : fraction < 3.5 ? 5.0 : 10.0) * power;
}

std::vector<LabelledTick> TicksAt(double min, double max, double step) {
  std::vector<LabelledTick> ticks;
  // The rounding rest of min / step (-0.6 / 0.2 is -2.9999999999999996) must not drop the first tick.
  for (double n = std::ceil(min / step - 1e-9); n * step <= max + step * 1e-9; n += 1) {
    const double value = n * step;
    ticks.push_back({value, TickLabel(value, step)});
  }
  return ticks;
}

}  // namespace

std::string TickLabel(double value, double step) {
  if (std::fabs(value) < step * 1e-9) value = 0.0;
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

std::vector<LabelledTick> HorizontalAxisTicks(double min, double max, double pixels, int wanted,
                                              const std::function<double(std::string_view)>& labelWidth,
                                              double gap) {
  if (!(max > min) || !(pixels > 0) || wanted < 1) return {};
  const double perUnit = pixels / (max - min);
  for (double step = RoundStep(max - min, wanted);; step = CoarserStep(step)) {
    std::vector<LabelledTick> ticks = TicksAt(min, max, step);
    bool apart = true;
    for (std::size_t i = 1; i < ticks.size() && apart; ++i) {
      const double room = step * perUnit;
      apart = room >= (labelWidth(ticks[i - 1].label) + labelWidth(ticks[i].label)) / 2 + gap;
    }
    // One tick or none always fits; a step wider than the range leaves at most one.
    if (apart || ticks.size() <= 1) return ticks;
  }
}

}  // namespace varnok
