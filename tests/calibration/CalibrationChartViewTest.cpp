#include "CalibrationChartView.h"

#include <QImage>

#include <gtest/gtest.h>

#include <vector>

namespace varnok {
namespace {

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
  const std::vector<CalPoint>& drawn = view.DrawnPoints();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.front().x, 4999);  // the neighbour just left of the range
  EXPECT_EQ(drawn.back().x, 5101);
  EXPECT_EQ(drawn.size(), 103u);  // every point of a range narrower than the chart

  // The line is red.
  int red = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == QColor(Qt::red)) ++red;
    }
  }
  EXPECT_GT(red, 100);
}

}  // namespace
}  // namespace varnok
