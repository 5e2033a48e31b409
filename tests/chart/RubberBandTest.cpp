#include "chart/RubberBand.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

TEST(ZoomDrag, JudgedByTheDiagonal) {
  const struct {
    int dx, dy;
    ZoomDrag meaning;
  } cases[] = {
      {100, 80, ZoomDrag::kZoom},                                 // upper-left to lower-right
      {4, 4, ZoomDrag::kZoom},                                    // just long enough both ways
      {-100, -80, ZoomDrag::kUndo},                               // lower-right to upper-left
      {-2, -30, ZoomDrag::kUndo},   {100, -80, ZoomDrag::kNone},  // lower-left to upper-right
      {-100, 80, ZoomDrag::kNone},                                // upper-right to lower-left
      {0, -80, ZoomDrag::kNone},                                  // straight up
      {0, 80, ZoomDrag::kNone},                                   // straight down
      {100, 2, ZoomDrag::kNone},                                  // no height to zoom to
      {3, -3, ZoomDrag::kNone},                                   // a click
      {-3, -3, ZoomDrag::kNone},
  };
  for (const auto& c : cases) EXPECT_EQ(ZoomDragOf(c.dx, c.dy, 4), c.meaning) << c.dx << "," << c.dy;
}

TEST(ZoomDrag, JudgedSidewaysOnly) {
  const struct {
    int dx;
    ZoomDrag meaning;
  } cases[] = {{5, ZoomDrag::kZoom},  {300, ZoomDrag::kZoom}, {4, ZoomDrag::kNone},   {0, ZoomDrag::kNone},
               {-4, ZoomDrag::kNone}, {-5, ZoomDrag::kUndo},  {-300, ZoomDrag::kUndo}};
  for (const auto& c : cases) EXPECT_EQ(HorizontalZoomDragOf(c.dx, 5), c.meaning) << c.dx;
}

TEST(RubberBand, CornersWhicheverWayItIsDragged) {
  const struct {
    int x0, y0, x1, y1;
  } drags[] = {{10, 20, 110, 220}, {110, 220, 10, 20}, {110, 20, 10, 220}, {10, 220, 110, 20}};
  for (const auto& d : drags) {
    RubberBand band;
    EXPECT_FALSE(band.Active());
    band.Start(d.x0, d.y0);
    EXPECT_TRUE(band.Active());
    band.MoveTo(500, 500);
    band.Finish(d.x1, d.y1);
    EXPECT_FALSE(band.Active());
    EXPECT_EQ(band.Left(), 10);
    EXPECT_EQ(band.Right(), 110);
    EXPECT_EQ(band.Top(), 20);
    EXPECT_EQ(band.Bottom(), 220);
    EXPECT_EQ(band.Dx(), d.x1 - d.x0);
    EXPECT_EQ(band.Dy(), d.y1 - d.y0);
  }
}

}  // namespace
}  // namespace varnok
