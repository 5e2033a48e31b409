#include "CalibrationChartModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnok {
namespace {

std::vector<CalibrationSeries> Columns(int count, std::vector<double> xs = {100, 200, 300}) {
  std::vector<CalibrationSeries> series;
  for (int k = 0; k < count; ++k) {
    series.push_back({"T" + std::to_string(k), xs, std::vector<double>(xs.size(), k)});
  }
  return series;
}

TEST(CalibrationChartModel, ANewDisplayReplacesTheStack) {
  CalibrationChartModel model;
  model.Build(Columns(12));
  ASSERT_EQ(model.Count(), 12u);
  const std::vector<CalibrationSeries> storage = model.Clear();
  ASSERT_EQ(storage.size(), 12u);  // handed back for the next file, emptied
  EXPECT_TRUE(storage[0].xs.empty());
  EXPECT_GE(storage[0].xs.capacity(), 3u);
  EXPECT_EQ(model.Count(), 0u);
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
  model.Build({{"T", {5, 1, 3, 1, 5}, {50, 10, 30, 11, 51}}});
  EXPECT_EQ(model.At(0).xs, (std::vector<double>{1, 1, 3, 5, 5}));
  EXPECT_EQ(model.At(0).ys, (std::vector<double>{10, 11, 30, 50, 51}));
  EXPECT_EQ(model.Range(0), (HorizontalRange{1, 5}));
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
  model.ResetZoom();  // no charts: nothing happens
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
