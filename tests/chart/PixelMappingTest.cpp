#include "chart/PixelMapping.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

// A plot 400 x 200 pixels whose lower-left corner sits at pixel (50, 230), showing x 100 … 300 and
// y -1 … 3.
const PixelMapping kMapping({100, 300, -1, 3}, {50, 230, 400, 200});

TEST(PixelMapping, DataToPixelsAndBack) {
  const struct {
    double x, y, pixelX, pixelY;
  } cases[] = {
      {100, -1, 50, 230},  // the lower-left corner
      {300, 3, 450, 30},   // the upper-right corner
      {200, 1, 250, 130},  // the middle
      {50, -2, -50, 280},  // outside: the mapping runs on
      {125, 0, 100, 180},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(kMapping.PixelX(c.x), c.pixelX) << c.x;
    EXPECT_DOUBLE_EQ(kMapping.PixelY(c.y), c.pixelY) << c.y;
    EXPECT_DOUBLE_EQ(kMapping.DataX(c.pixelX), c.x) << c.pixelX;
    EXPECT_DOUBLE_EQ(kMapping.DataY(c.pixelY), c.y) << c.pixelY;
  }
  EXPECT_DOUBLE_EQ(kMapping.DistanceX(40), 20);
  EXPECT_DOUBLE_EQ(kMapping.DistanceY(-50), -1);
}

TEST(PixelMapping, DataRectOfADraggedBandInEitherOrder) {
  const ChartRect expected{150, 250, 0, 2};
  EXPECT_EQ(kMapping.DataRect(150, 180, 350, 80), expected);  // from lower-left to upper-right
  EXPECT_EQ(kMapping.DataRect(350, 80, 150, 180), expected);
  EXPECT_EQ(kMapping.DataRect(150, 80, 350, 180), expected);
}

}  // namespace
}  // namespace varnok
