#include "ChartReduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <random>
#include <vector>

namespace varnok {
namespace {

TEST(ReduceToPixelColumns, KeepsFirstLowestHighestLastInOrderPlusOutsideNeighbours) {
  const std::vector<double> xs = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  const std::vector<double> ys = {9, 5, 7, 1, 8, 6, 2, 3, 4, 0};
  // Range 1 … 8 over two pixel columns: column 0 holds x 1..4, column 1 x 5..8.
  const std::vector<CalPoint> reduced = ReduceToPixelColumns(xs, ys, 1, 8, 2);
  const std::vector<CalPoint> expected = {
      {0, 9},                          // outside neighbour on the left
      {1, 5}, {3, 1}, {4, 8},          // first 1, lowest 3, highest 4 (also last)
      {5, 6}, {6, 2}, {8, 4},          // first and highest 5, lowest 6, last 8
      {9, 0},                          // outside neighbour on the right
  };
  EXPECT_EQ(reduced, expected);
}

TEST(ReduceToPixelColumns, EveryPixelColumnKeepsTheExtremesOfTheFullData) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-100, 100);
  std::vector<double> xs, ys;
  for (int i = 0; i < 20000; ++i) {
    xs.push_back(i / 3);  // equal x values in runs
    ys.push_back(value(random));
  }
  const double xMin = 1234, xMax = 5000;
  const int columns = 397;
  const std::vector<CalPoint> reduced = ReduceToPixelColumns(xs, ys, xMin, xMax, columns);
  ASSERT_LE(reduced.size(), 4u * columns + 2);

  const auto columnOf = [&](double x) {
    return std::min(columns - 1, static_cast<int>((x - xMin) * columns / (xMax - xMin)));
  };
  std::map<int, std::pair<double, double>> full, kept;
  const auto widen = [](std::map<int, std::pair<double, double>>& m, int c, double y) {
    auto [it, fresh] = m.try_emplace(c, y, y);
    if (!fresh) it->second = {std::min(it->second.first, y), std::max(it->second.second, y)};
  };
  for (std::size_t i = 0; i < xs.size(); ++i) {
    if (xs[i] >= xMin && xs[i] <= xMax) widen(full, columnOf(xs[i]), ys[i]);
  }
  for (const CalPoint& p : reduced) {
    if (p.x >= xMin && p.x <= xMax) widen(kept, columnOf(p.x), p.y);
  }
  EXPECT_EQ(kept, full);
  EXPECT_TRUE(std::is_sorted(reduced.begin(), reduced.end(),
                             [](const CalPoint& a, const CalPoint& b) { return a.x < b.x; }));
  EXPECT_LT(reduced.front().x, xMin);
  EXPECT_GT(reduced.back().x, xMax);
}

// A column that misses points at some of the shared x values draws only its own points, and reaches
// past the range's ends to its own nearest points.
TEST(ReduceToPixelColumns, MissingPointsAreLeftOutEverywhere) {
  const double none = std::numeric_limits<double>::quiet_NaN();
  const std::vector<double> xs = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  const std::vector<double> ys = {9, none, 7, none, none, 6, none, 3, none, 0};
  const std::vector<CalPoint> reduced = ReduceToPixelColumns(xs, ys, 1.5, 8.5, 2);
  // Column 0 holds x 1.5..5, column 1 x 5..8.5 (x 5 falls at 0.5 of the way: column 1).
  const std::vector<CalPoint> expected = {{0, 9}, {2, 7}, {5, 6}, {7, 3}, {9, 0}};
  EXPECT_EQ(reduced, expected);
  const std::vector<double> noneAtAll(xs.size(), none);
  EXPECT_TRUE(ReduceToPixelColumns(xs, noneAtAll, 0, 9, 4).empty());
}

TEST(ReduceToPixelColumns, DegenerateInputs) {
  const std::vector<double> xs = {5, 5, 5}, ys = {1, 3, 2};
  EXPECT_EQ(ReduceToPixelColumns(xs, ys, 5, 5, 10), (std::vector<CalPoint>{{5, 1}, {5, 3}, {5, 2}}));
  EXPECT_TRUE(ReduceToPixelColumns(xs, ys, 5, 5, 0).empty());
  EXPECT_TRUE(ReduceToPixelColumns({}, {}, 0, 1, 10).empty());
  EXPECT_TRUE(ReduceToPixelColumns(xs, ys, 6, 4, 10).empty());
}

}  // namespace
}  // namespace varnok
