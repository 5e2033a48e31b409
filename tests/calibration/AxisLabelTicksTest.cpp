#include "AxisLabelTicks.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

// Every character 6 pixels wide; neighbours at least 6 pixels apart.
double SixPerCharacter(std::string_view label) { return 6.0 * static_cast<double>(label.size()); }

std::vector<std::string> Labels(const std::vector<LabelledTick>& ticks) {
  std::vector<std::string> labels;
  for (const LabelledTick& t : ticks) labels.push_back(t.label);
  return labels;
}

TEST(AxisLabelTicks, StepGrowsUntilLabelsFit) {
  using L = std::vector<std::string>;
  const struct {
    double min, max, pixels;
    L labels;
  } cases[] = {
      {0, 1e6, 600, L{"0", "200000", "400000", "600000", "800000", "1000000"}},  // room to spare
      {0, 1e6, 200, L{"0", "500000", "1000000"}},                               // 200000 apart would touch
      {0, 4e6, 150, L{"0", "2000000", "4000000"}},
      {1234567, 1234987, 420, L{"1234600", "1234700", "1234800", "1234900"}},
      {0, 1e6, 20, L{"0"}},  // no two labels fit: one is left
      {0.1, 0.7, 600, L{"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7"}},
      {-0.6, 0.6, 600, L{"-0.6", "-0.4", "-0.2", "0", "0.2", "0.4", "0.6"}},
      {5, 5, 600, L{}},
      {6, 5, 600, L{}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Labels(HorizontalAxisTicks(c.min, c.max, c.pixels, 5, SixPerCharacter, 6)), c.labels)
        << c.min << ".." << c.max << " over " << c.pixels;
  }
}

// Over many ranges and widths, neighbouring labels never come closer than the gap, and there are at
// least two ticks whenever there is ample room for two labels of the widest kind.
TEST(AxisLabelTicks, NeighboursNeverTouch) {
  for (double max : {37.0, 999.0, 12345.0, 200000.0, 987654.0, 4.5e6, 9999999.0}) {
    for (double pixels : {60.0, 120.0, 250.0, 480.0, 800.0}) {
      const auto ticks = HorizontalAxisTicks(0, max, pixels, 5, SixPerCharacter, 6);
      ASSERT_FALSE(ticks.empty()) << max << " " << pixels;
      for (std::size_t i = 1; i < ticks.size(); ++i) {
        const double apart = (ticks[i].value - ticks[i - 1].value) * pixels / max;
        const double needed = (SixPerCharacter(ticks[i].label) + SixPerCharacter(ticks[i - 1].label)) / 2 + 6;
        EXPECT_GE(apart, needed) << max << " over " << pixels << ": " << ticks[i - 1].label << " " << ticks[i].label;
      }
      const double widest = SixPerCharacter(TickLabel(max, 1));
      if (pixels >= 2.5 * (widest + 6)) EXPECT_GE(ticks.size(), 2u) << max << " over " << pixels;
    }
  }
}

}  // namespace
}  // namespace varnok
