#include "calibration/CalibrationChartView.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace varnok {
namespace {

int RedPixels(const QImage& image) {
  int red = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == QColor(Qt::red)) ++red;
    }
  }
  return red;
}

// A value that is not a finite number (how a missing point is kept, or an overflowing one) is no
// point: it is not drawn and leaves the vertical range to the real points, so the line is still drawn.
TEST(CalibrationChartView, ValuesThatAreNotFiniteAreNoPoints) {
  const double none = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<double> xs = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  const std::vector<double> ys = {inf, 10, none, 12, -inf, 14, 16, inf, 18, 20};
  CalibrationChartView view;
  view.resize(400, 190);
  view.SetSeries("Tamb", xs, ys);
  view.SetHorizontalRange(0, 9);
  QImage image(view.size(), QImage::Format_ARGB32);
  view.render(&image);
  const std::vector<ChartPoint> expected = {{1, 10}, {3, 12}, {5, 14}, {6, 16}, {8, 18}, {9, 20}};
  EXPECT_EQ(view.DrawnPoints(), expected);
  const ChartRect shown = view.ShownRange();
  EXPECT_DOUBLE_EQ(shown.yMin, 9.5);  // 10 … 20 with a margin of 5 % of the spread
  EXPECT_DOUBLE_EQ(shown.yMax, 20.5);
  EXPECT_GT(RedPixels(image), 100);
}

// A chart hands the painter only what its width can show, and recomputes that for a new range.
TEST(CalibrationChartView, DrawsReducedPointsOfTheVisibleRange) {
  std::vector<double> xs, ys;
  for (int i = 0; i < 200000; ++i) {
    xs.push_back(i);
    ys.push_back((i % 1000) * 0.01);
  }
  CalibrationChartView view;
  view.resize(400, 190);
  view.SetSeries("Tsky", xs, ys);
  view.SetHorizontalRange(0, 199999);
  QImage image(view.size(), QImage::Format_ARGB32);
  view.render(&image);
  ASSERT_EQ(view.PaintCount(), 1);
  EXPECT_LE(view.DrawnPoints().size(), 4u * 400);
  EXPECT_GT(view.DrawnPoints().size(), 100u);

  view.SetHorizontalRange(5000, 5100);
  view.render(&image);
  const std::vector<ChartPoint>& drawn = view.DrawnPoints();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.front().x, 4999);  // the neighbour just left of the range
  EXPECT_EQ(drawn.back().x, 5101);
  EXPECT_EQ(drawn.size(), 103u);  // every point of a range narrower than the chart

  // The line is red.
  EXPECT_GT(RedPixels(image), 100);
}

}  // namespace
}  // namespace varnok
