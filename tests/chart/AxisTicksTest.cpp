#include "chart/AxisTicks.h"

#include <gtest/gtest.h>

#include <cmath>

namespace varnok {
namespace {

using V = std::vector<double>;

TEST(AxisTicks, RoundStepsInsideTheRange) {
  const struct {
    double min, max;
    int maxTicks;
    V ticks;
  } cases[] = {
      {0, 100, 5, V{0, 20, 40, 60, 80, 100}},
      {-0.3, 0.3, 6, V{-0.3, -0.2, -0.1, 0, 0.1, 0.2, 0.3}},  // exact decimals, 0 without a sign
      {37.5, 62.5, 4, V{40, 50, 60}},
      {0, 9, 1, V{0}},  // no 1, 2 or 5 step is wide enough: the next power of ten, 10
      {5, 5, 4, V{}},
      {6, 5, 4, V{}},
      {0, INFINITY, 4, V{}},
      {0, 1, 0, V{}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AxisTicks(c.min, c.max, c.maxTicks), c.ticks) << c.min << ".." << c.max << " / " << c.maxTicks;
  }
}

TEST(AxisTicks, StepRules) {
  const struct {
    double rough;
    TickStep atLeast;
  } atLeast[] = {{0.9, {1, 0}}, {1, {1, 0}}, {1.01, {2, 0}}, {3, {5, 0}}, {6, {1, 1}}, {0.004, {5, -3}}};
  for (const auto& c : atLeast) EXPECT_EQ(StepAtLeast(c.rough), c.atLeast) << c.rough;
  // The nearest step for about `wanted` intervals: 1 up to 1.5, 2 up to 3.5, 5 up to 7.5, then 10.
  const struct {
    double span;
    int wanted;
    TickStep nearest;
  } nearest[] = {{14, 10, {1, 0}}, {15, 10, {2, 0}}, {34, 10, {2, 0}},  {35, 10, {5, 0}},
                 {74, 10, {5, 0}}, {75, 10, {1, 1}}, {0.9, 4, {2, -1}}, {1e6, 5, {2, 5}}};
  for (const auto& c : nearest) {
    EXPECT_EQ(StepNearest(c.span, c.wanted), c.nearest) << c.span << "/" << c.wanted;
  }
  EXPECT_EQ(CoarserStep({1, -2}), (TickStep{2, -2}));
  EXPECT_EQ(CoarserStep({2, -2}), (TickStep{5, -2}));
  EXPECT_EQ(CoarserStep({5, -2}), (TickStep{1, -1}));
}

// Each tick is worked out from its own number: a thousand ticks of 0.1 end at 100 exactly, where adding
// the step a thousand times drifts off (and would lose or gain the last tick).
TEST(AxisTicks, NoTickCarriesTheRoundingRestsOfThoseBefore) {
  const V ticks = TicksInside(-50, 100, {1, -1}, 5000);
  ASSERT_EQ(ticks.size(), 1501u);
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    ASSERT_EQ(ticks[i], (static_cast<double>(i) - 500) / 10) << i;
  }
  double added = -50;
  for (int i = 0; i < 1500; ++i) added += 0.1;
  EXPECT_NE(added, 100.0);  // what accumulation would have given for the last tick
  EXPECT_EQ(ticks.back(), 100.0);
  // The limit guards against a step far too fine for the range.
  EXPECT_EQ(TicksInside(0, 1e6, {1, -3}, 10).size(), 11u);
}

// Every character 6 pixels wide; neighbours at least 6 pixels apart.
double SixPerCharacter(std::string_view label) { return 6.0 * static_cast<double>(label.size()); }
std::string TenDigits(double value, double step) { return DecimalTickLabel(value, step, 10); }

std::vector<std::string> Labels(const std::vector<LabelledTick>& ticks) {
  std::vector<std::string> labels;
  for (const LabelledTick& t : ticks) labels.push_back(t.label);
  return labels;
}

TEST(LabelFittedTicks, StepGrowsUntilLabelsFit) {
  using L = std::vector<std::string>;
  const struct {
    double min, max, pixels;
    L labels;
  } cases[] = {
      {0, 1e6, 600, L{"0", "200000", "400000", "600000", "800000", "1000000"}},  // room to spare
      {0, 1e6, 200, L{"0", "500000", "1000000"}},                                // 200000 apart would touch
      {0, 4e6, 150, L{"0", "2000000", "4000000"}},
      {1234567, 1234987, 420, L{"1234600", "1234700", "1234800", "1234900"}},
      {0, 1e6, 20, L{"0"}},  // no two labels fit: one is left
      {0.1, 0.7, 600, L{"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7"}},
      {-0.6, 0.6, 600, L{"-0.6", "-0.4", "-0.2", "0", "0.2", "0.4", "0.6"}},
      {5, 5, 600, L{}},
      {6, 5, 600, L{}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Labels(LabelFittedTicks(c.min, c.max, c.pixels, 5, TenDigits, SixPerCharacter, 6)), c.labels)
        << c.min << ".." << c.max << " over " << c.pixels;
  }
}

// Over many ranges and widths, neighbouring labels never come closer than the gap, and there are at
// least two ticks whenever there is ample room for two labels of the widest kind.
TEST(LabelFittedTicks, NeighboursNeverTouch) {
  for (double max : {37.0, 999.0, 12345.0, 200000.0, 987654.0, 4.5e6, 9999999.0}) {
    for (double pixels : {60.0, 120.0, 250.0, 480.0, 800.0}) {
      const auto ticks = LabelFittedTicks(0, max, pixels, 5, TenDigits, SixPerCharacter, 6);
      ASSERT_FALSE(ticks.empty()) << max << " " << pixels;
      for (std::size_t i = 1; i < ticks.size(); ++i) {
        const double apart = (ticks[i].value - ticks[i - 1].value) * pixels / max;
        const double needed = (SixPerCharacter(ticks[i].label) + SixPerCharacter(ticks[i - 1].label)) / 2 + 6;
        EXPECT_GE(apart, needed) << max << " over " << pixels << ": " << ticks[i - 1].label << " "
                                 << ticks[i].label;
      }
      const double widest = SixPerCharacter(TenDigits(max, 1));
      if (pixels >= 2.5 * (widest + 6)) {
        EXPECT_GE(ticks.size(), 2u) << max << " over " << pixels;
      }
    }
  }
}

TEST(DecimalTickLabel, DigitsAndZero) {
  const struct {
    double value, step;
    int digits;
    const char* label;
  } cases[] = {{1234567.0, 100, 10, "1234567"}, {0.30000000000000004, 0.1, 10, "0.3"},
               {1e-17, 0.1, 10, "0"},           {-1e-17, 0.1, 10, "0"},
               {1e-17, 1e-17, 10, "1e-17"},     {123.456789, 1, 6, "123.457"}};
  for (const auto& c : cases) EXPECT_EQ(DecimalTickLabel(c.value, c.step, c.digits), c.label) << c.value;
}

}  // namespace
}  // namespace varnok
