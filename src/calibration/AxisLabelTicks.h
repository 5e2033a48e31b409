#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// One labelled tick of a horizontal chart axis.
struct LabelledTick {
  double value;
  std::string label;
};

// The label of a tick value: up to ten significant digits, and 0 (not a rounding rest such as 1e-17)
// for a value within a billionth of a step of zero.
std::string TickLabel(double value, double step);

// The ticks of a horizontal axis from `min` to `max` drawn over `pixels`: steps of 1, 2 or 5 times a
// power of ten, about `wanted` intervals when the labels allow it, otherwise the finest such step at
// which no two neighbouring labels (centred on their ticks, `labelWidth` pixels wide) come closer than
// `gap` pixels. An empty or reversed range gives no ticks.
std::vector<LabelledTick> HorizontalAxisTicks(double min, double max, double pixels, int wanted,
                                              const std::function<double(std::string_view)>& labelWidth,
                                              double gap);

}  // namespace varnok
