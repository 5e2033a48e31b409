#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "chart/RangePadding.h"
#include "chart/VerticalFit.h"

namespace varnok {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(PadRange, OnlyAnEmptyRangeIsWidened) {
  const struct {
    double min, max, smallestPad;
    PaddedRange padded;
  } cases[] = {
      {2, 8, 0, {2, 8}},  // room already
      {-3, 40, 1, {-3, 40}},
      {20, 20, 0, {19, 21}},  // 5 % of the value
      {-20, -20, 0, {-21, -19}},
      {0, 0, 0, {-1, 1}},  // nothing to take 5 % of
      {1e-3, 1e-3, 0, {1e-3 - 5e-5, 1e-3 + 5e-5}},
      {1e-3, 1e-3, 1, {1e-3 - 1, 1e-3 + 1}},  // at least the smallest pad
      {100, 100, 1, {95, 105}},
      {7, 3, 1, {6, 8}},  // reversed: drawn around its minimum
  };
  for (const auto& c : cases) {
    const PaddedRange padded = PadRange(c.min, c.max, c.smallestPad);
    EXPECT_DOUBLE_EQ(padded.min, c.padded.min) << c.min << ".." << c.max << " pad " << c.smallestPad;
    EXPECT_DOUBLE_EQ(padded.max, c.padded.max) << c.min << ".." << c.max << " pad " << c.smallestPad;
  }
}

TEST(VerticalFit, FitsTheFinitePointsOfTheWindowWithAMargin) {
  using P = std::vector<ChartPoint>;
  const struct {
    const char* what;
    P points;
    double xMin, xMax;
    PaddedRange range;
  } cases[] = {
      {"margin of 5 % of the spread", P{{0, 10}, {1, 30}, {2, 20}}, 0, 2, {9, 31}},
      {"points outside the window do not count", P{{-1, -500}, {0, 10}, {1, 30}, {3, 900}}, 0, 2, {9, 31}},
      {"missing and infinite values do not count",
       P{{0, 10}, {0.5, kNone}, {1, kInf}, {1.5, -kInf}, {2, 30}},
       0,
       2,
       {9, 31}},
      {"one value: no margin", P{{1, 4}}, 0, 2, {4, 4}},
      {"no finite point", P{{1, kNone}, {1.5, kInf}}, 0, 2, {0, 1}},
      {"no point in the window", P{{5, 3}}, 0, 2, {0, 1}},
  };
  for (const auto& c : cases) {
    VerticalFit fit(c.xMin, c.xMax);
    fit.Add(c.points);
    EXPECT_EQ(fit.Range(), c.range) << c.what;
  }
  // Several lines share one fit.
  VerticalFit shared(0, 10);
  shared.Add(P{{1, 5}, {2, 6}});
  shared.Add(P{{3, -14}, {4, kInf}});
  EXPECT_TRUE(shared.Any());
  EXPECT_EQ(shared.Range(), (PaddedRange{-15, 7}));
}

}  // namespace
}  // namespace varnok
