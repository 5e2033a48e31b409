#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// A step between axis ticks: 1, 2 or 5 times a power of ten.
struct TickStep {
  int factor = 1;  // 1, 2 or 5
  int exponent = 0;
  bool operator==(const TickStep&) const = default;

  double Value() const;
  // Tick number `index`, index × step, worked out from whole numbers: tick 3 of a step of 0.1 is 0.3
  // itself, not 0.30000000000000004, and no tick carries the rounding rests of the ones before it.
  double Tick(long long index) const;
};

// The smallest step not below `rough` (a positive, finite number).
TickStep StepAtLeast(double rough);
// The step nearest to giving `wanted` intervals over `span` (a positive, finite number).
TickStep StepNearest(double span, int wanted);
// The next coarser step of the 1, 2, 5 series.
TickStep CoarserStep(TickStep step);

// The ticks of `step` inside [min, max], ascending, each at most a billionth of a step outside (so
// that rounding rests do not drop an end); at most `limit` + 1 of them.
std::vector<double> TicksInside(double min, double max, TickStep step, std::size_t limit);

// Round tick values inside [min, max], at most about `maxTicks` of them: the smallest step giving no
// more than `maxTicks` intervals. An empty, reversed or not finite range gives none.
std::vector<double> AxisTicks(double min, double max, int maxTicks);

// One labelled tick of an axis.
struct LabelledTick {
  double value;
  std::string label;
};

// A tick value written with up to `digits` significant digits, and 0 (not a rounding rest such as
// 1e-17) for a value within a billionth of a step of zero.
std::string DecimalTickLabel(double value, double step, int digits);

using TickLabeller = std::function<std::string(double value, double step)>;
using LabelWidth = std::function<double(std::string_view label)>;

// The ticks of an axis from `min` to `max` drawn over `pixels`: about `wanted` intervals when the
// labels allow it, otherwise the finest coarser step at which no two neighbouring labels (centred on
// their ticks, `width` pixels wide) come closer than `gap` pixels. An empty or reversed range gives no
// ticks.
std::vector<LabelledTick> LabelFittedTicks(double min, double max, double pixels, int wanted,
                                           const TickLabeller& label, const LabelWidth& width, double gap);

}  // namespace varnok
