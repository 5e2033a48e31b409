#include "chart/ColumnReduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <vector>

namespace varnok {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ColumnReduction, SmallLinesGiveExactlyTheDrawnPoints) {
  using P = std::vector<ChartPoint>;
  const std::vector<double> tenX = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  const struct {
    const char* what;
    std::vector<double> xs, ys;
    double xMin, xMax;
    int columns;
    P expected;
  } cases[] = {
      // Range 1 … 8 over two pixel columns: column 0 holds x 1..4, column 1 x 5..8. Column 0: first 1,
      // lowest 3, highest 4 (also last); column 1: first and highest 5, lowest 6, last 8; the outside
      // neighbours 0 and 9.
      {"first, lowest, highest, last in order",
       tenX,
       {9, 5, 7, 1, 8, 6, 2, 3, 4, 0},
       1,
       8,
       2,
       P{{0, 9}, {1, 5}, {3, 1}, {4, 8}, {5, 6}, {6, 2}, {8, 4}, {9, 0}}},
      // A line that misses points at some of the shared x values draws only its own points, and reaches
      // past the range's ends to its own nearest points. Column 0 holds x 1.5..5, column 1 x 5..8.5.
      {"missing points",
       tenX,
       {9, kNone, 7, kNone, kNone, 6, kNone, 3, kNone, 0},
       1.5,
       8.5,
       2,
       P{{0, 9}, {2, 7}, {5, 6}, {7, 3}, {9, 0}}},
      {"no point at all", tenX, std::vector<double>(10, kNone), 0, 9, 4, P{}},
      // Infinite values are no points either: not drawn, not extremes, not neighbours.
      {"infinite values",
       tenX,
       {kInf, 5, -kInf, 1, 8, kInf, 2, 3, -kInf, kInf},
       1,
       8,
       2,
       P{{1, 5}, {3, 1}, {4, 8}, {6, 2}, {7, 3}}},
      // One x value: one column; equal x keep the order they came in.
      {"one x value, three points", {5, 5, 5}, {1, 3, 2}, 5, 5, 10, P{{5, 1}, {5, 3}, {5, 2}}},
      {"one x value, five points", {3, 3, 3, 3, 3}, {0, 1, 2, 3, 4}, 3, 3, 100, P{{3, 0}, {3, 4}}},
      {"no columns", {5, 5, 5}, {1, 3, 2}, 5, 5, 0, P{}},
      {"no points", {}, {}, 0, 1, 10, P{}},
      {"reversed range", {5, 5, 5}, {1, 3, 2}, 6, 4, 10, P{}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReduceToColumns(c.xs, c.ys, c.xMin, c.xMax, c.columns), c.expected) << c.what;
  }
}

// The extremes a line through every point would reach in each pixel column.
struct ColumnExtremes {
  double low = INFINITY, high = -INFINITY, first = NAN, last = NAN;
  bool operator==(const ColumnExtremes& o) const {
    return low == o.low && high == o.high && first == o.first && last == o.last;
  }
};
std::map<int, ColumnExtremes> Extremes(const std::vector<ChartPoint>& points, double xMin, double xMax,
                                       int columns) {
  std::map<int, ColumnExtremes> result;
  for (const ChartPoint& p : points) {
    if (p.x < xMin || p.x > xMax || !std::isfinite(p.y)) continue;
    const int column = std::min(columns - 1, static_cast<int>((p.x - xMin) * (columns / (xMax - xMin))));
    ColumnExtremes& e = result[column];
    e.low = std::min(e.low, p.y);
    e.high = std::max(e.high, p.y);
    if (std::isnan(e.first)) e.first = p.y;
    e.last = p.y;
  }
  return result;
}

// Long lines: every pixel column keeps the first, last, lowest and highest point of the full data,
// the points stay in x order, and the line runs on past both ends of the range.
TEST(ColumnReduction, EveryColumnKeepsFirstLastAndExtremesOfTheFullData) {
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0, 5);
  std::uniform_real_distribution<double> value(-100, 100);
  struct Line {
    const char* what;
    std::vector<double> xs, ys;
  };
  Line wave{"wave with a gap and holes", {}, {}};
  for (int i = 0; i < 20000; ++i) {
    wave.xs.push_back(i + (i > 5000 ? 3 : 0));  // a gap
    const bool hole = i == 777 || i % 1013 == 5;
    wave.ys.push_back(hole ? (i % 2 ? kNone : kInf) : std::sin(i * 0.01) * 100 + noise(random));
  }
  Line runs{"equal x in runs", {}, {}};
  for (int i = 0; i < 20000; ++i) {
    runs.xs.push_back(i / 3);
    runs.ys.push_back(value(random));
  }
  const struct {
    const Line& line;
    double xMin, xMax;
    int columns;
  } cases[] = {{wave, 0, 20002, 1000},
               {wave, 1000.5, 3000.5, 300},
               {wave, -50, 40000, 7},
               {wave, 4990, 5010, 600},
               {runs, 1234, 5000, 397}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.line.what << " " << c.xMin << ".." << c.xMax << " over "
                                    << c.columns);
    const std::vector<ChartPoint> reduced = ReduceToColumns(c.line.xs, c.line.ys, c.xMin, c.xMax, c.columns);
    ASSERT_TRUE(std::is_sorted(reduced.begin(), reduced.end(),
                               [](const ChartPoint& a, const ChartPoint& b) { return a.x < b.x; }));
    std::size_t inside = 0;
    for (const ChartPoint& p : reduced) {
      ASSERT_TRUE(std::isfinite(p.y)) << p.x;
      inside += (p.x >= c.xMin && p.x <= c.xMax);
    }
    EXPECT_LE(inside, static_cast<std::size_t>(c.columns) * 4);
    std::vector<ChartPoint> all;
    for (std::size_t i = 0; i < c.line.xs.size(); ++i) all.push_back({c.line.xs[i], c.line.ys[i]});
    EXPECT_EQ(Extremes(reduced, c.xMin, c.xMax, c.columns), Extremes(all, c.xMin, c.xMax, c.columns));
    if (c.xMin > c.line.xs.front()) {
      EXPECT_LT(reduced.front().x, c.xMin);
    }
    if (c.xMax < c.line.xs.back()) {
      EXPECT_GT(reduced.back().x, c.xMax);
    }
  }
}

}  // namespace
}  // namespace varnok
