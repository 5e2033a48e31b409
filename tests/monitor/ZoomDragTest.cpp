#include "monitor/ZoomDrag.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

TEST(ZoomDrag, JudgedByTheDiagonal) {
  const struct {
    int dx, dy;
    ZoomDrag meaning;
  } cases[] = {
      {100, 80, ZoomDrag::kZoom},    // upper-left to lower-right
      {4, 4, ZoomDrag::kZoom},       // just long enough both ways
      {-100, -80, ZoomDrag::kUndo},  // lower-right to upper-left
      {-2, -30, ZoomDrag::kUndo},
      {100, -80, ZoomDrag::kNone},   // lower-left to upper-right
      {-100, 80, ZoomDrag::kNone},   // upper-right to lower-left
      {0, -80, ZoomDrag::kNone},     // straight up
      {0, 80, ZoomDrag::kNone},      // straight down
      {100, 2, ZoomDrag::kNone},     // no height to zoom to
      {3, -3, ZoomDrag::kNone},      // a click
      {-3, -3, ZoomDrag::kNone},
  };
  for (const auto& c : cases) EXPECT_EQ(ZoomDragOf(c.dx, c.dy, 4), c.meaning) << c.dx << "," << c.dy;
}

}  // namespace
}  // namespace varnok
