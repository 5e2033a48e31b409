#include "calibration/CalibrationChartModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnok {
namespace {

// Columns sharing the horizontal values `xs`; ys[m] holds column m's values (kNoPoint for none).
CalibrationPoints Points(const std::vector<double>& xs, const std::vector<std::vector<double>>& ys) {
  CalibrationPoints points;
  for (double x : xs) points.xs.push_back(x);
  for (std::size_t m = 0; m < ys.size(); ++m) {
    CalibrationColumn column{"T" + std::to_string(m), PointArray()};
    for (double y : ys[m]) column.ys.push_back(y);
    points.columns.push_back(std::move(column));
  }
  return points;
}

CalibrationPoints Columns(int count, std::vector<double> xs = {100, 200, 300}) {
  std::vector<std::vector<double>> ys;
  for (int k = 0; k < count; ++k) ys.push_back(std::vector<double>(xs.size(), k));
  return Points(xs, ys);
}

std::vector<double> Xs(const CalibrationChartModel& model, std::size_t k) {
  std::vector<double> xs;
  for (const auto& [x, y] : model.PointsOf(k)) xs.push_back(x);
  return xs;
}
std::vector<double> Ys(const CalibrationChartModel& model, std::size_t k) {
  std::vector<double> ys;
  for (const auto& [x, y] : model.PointsOf(k)) ys.push_back(y);
  return ys;
}

TEST(CalibrationChartModel, ANewDisplayReplacesTheStack) {
  CalibrationChartModel model;
  model.Build(Columns(12));
  ASSERT_EQ(model.Count(), 12u);
  const CalibrationPoints taken = model.Clear();  // handed back, to be let go where it costs nothing
  EXPECT_EQ(taken.columns.size(), 12u);
  EXPECT_EQ(taken.LineCount(), 3u);
  EXPECT_EQ(model.Count(), 0u);
  EXPECT_TRUE(model.Xs().empty());
  model.Build(Columns(3));
  ASSERT_EQ(model.Count(), 3u);
  const int tops[] = {0, 200, 400};
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(CalibrationChartModel::Geometry(k), (ChartPlace{50, tops[k], 400, 190}));
    EXPECT_EQ(model.At(k).title, "T" + std::to_string(k));
    EXPECT_TRUE(model.IsAutomatic(k));
  }
}

TEST(CalibrationChartModel, PointsStandInAscendingOrderEqualXInInsertionOrder) {
  CalibrationChartModel model;
  model.Build(Points({5, 1, 3, 1, 5}, {{50, 10, 30, 11, 51}}));
  EXPECT_EQ(Xs(model, 0), (std::vector<double>{1, 1, 3, 5, 5}));
  EXPECT_EQ(Ys(model, 0), (std::vector<double>{10, 11, 30, 50, 51}));
  EXPECT_EQ(model.Range(0), (HorizontalRange{1, 5}));
}

// Sorting the shared lines keeps every column's values, and its missing points, with their x; each
// chart's automatic range runs from its own first to its own last point.
TEST(CalibrationChartModel, SharedLinesSortTogetherAndEachChartFitsItsOwnPoints) {
  const double none = kNoPoint;
  CalibrationChartModel model;
  model.Build(Points({40, 10, 30, 20, 50},
                     {{4, 1, none, 2, none}, {none, none, 3, none, none}, {none, 10, 30, 20, 50}}));
  ASSERT_EQ(model.Count(), 3u);
  EXPECT_EQ(std::vector<double>(model.Xs().begin(), model.Xs().end()),
            (std::vector<double>{10, 20, 30, 40, 50}));
  EXPECT_EQ(model.PointsOf(0), (std::vector<std::pair<double, double>>{{10, 1}, {20, 2}, {40, 4}}));
  EXPECT_EQ(model.PointsOf(1), (std::vector<std::pair<double, double>>{{30, 3}}));
  EXPECT_EQ(model.PointsOf(2),
            (std::vector<std::pair<double, double>>{{10, 10}, {20, 20}, {30, 30}, {50, 50}}));
  EXPECT_EQ(model.Range(0), (HorizontalRange{10, 40}));
  EXPECT_EQ(model.Range(1), (HorizontalRange{30, 30}));
  EXPECT_EQ(model.Range(2), (HorizontalRange{10, 50}));
}

TEST(CalibrationChartModel, ZoomSetsEveryChartToTheWholeNumberRange) {
  struct Case {
    double min, max;
    HorizontalRange range;
    const char* label;
  } const cases[] = {
      {10.7, 99.2, {10, 99}, "Cal zoom 10 99"},
      {-3.6, 5.2, {-3, 5}, "Cal zoom -3 5"},
      {-0.4, 0.9, {0, 0}, "Cal zoom 0 0"},
      {120, 480, {120, 480}, "Cal zoom 120 480"},
  };
  for (const Case& c : cases) {
    CalibrationChartModel model;
    model.Build(Columns(5));
    model.Zoom(3, c.min, c.max);
    EXPECT_EQ(model.ZoomLabel(), c.label);
    for (std::size_t k = 0; k < model.Count(); ++k) {
      EXPECT_FALSE(model.IsAutomatic(k));
      EXPECT_EQ(model.Range(k), c.range) << "chart " << k << " after zoom " << c.min << " " << c.max;
    }
  }
}

TEST(CalibrationChartModel, ZoomBelowAChartsCurrentRangeStillApplies) {
  CalibrationChartModel model;
  model.Build(Columns(3, {1000, 2000}));
  model.Zoom(0, 1200.5, 1800.5);
  model.UndoZoom(1);  // chart 1 alone back to 1000 … 2000
  EXPECT_EQ(model.Range(1), (HorizontalRange{1000, 2000}));
  EXPECT_EQ(model.Range(0), (HorizontalRange{1200, 1800}));
  model.Zoom(2, -50.5, 20.5);  // wholly below every current range
  for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(model.Range(k), (HorizontalRange{-50, 20})) << k;
}

TEST(CalibrationChartModel, ResetZoomRestoresAutomaticRangesAndKeepsTheLabel) {
  CalibrationChartModel model;
  EXPECT_EQ(model.ZoomLabel(), "Label49");
  model.ResetZoom();    // no charts: nothing happens
  model.Zoom(0, 1, 2);  // no charts: nothing happens
  EXPECT_EQ(model.ZoomLabel(), "Label49");

  model.Build(Columns(2, {100, 900}));
  model.Zoom(1, 150.2, 170.9);
  model.ResetZoom();
  EXPECT_EQ(model.ZoomLabel(), "Cal zoom 150 170");
  for (std::size_t k = 0; k < 2; ++k) {
    EXPECT_TRUE(model.IsAutomatic(k));
    EXPECT_EQ(model.Range(k), (HorizontalRange{100, 900}));
  }
  // A new display does not change the label either.
  model.Clear();
  model.Build(Columns(1));
  EXPECT_EQ(model.ZoomLabel(), "Cal zoom 150 170");
}

}  // namespace
}  // namespace varnok
