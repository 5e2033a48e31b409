#include "chart/RubberBand.h"

#include <cstdlib>

namespace varnok {

ZoomDrag ZoomDragOf(int dx, int dy, int minimumDrag) {
  if (std::abs(dx) < minimumDrag && std::abs(dy) < minimumDrag) return ZoomDrag::kNone;
  // A rectangle to zoom to needs room both ways.
  if (dx >= minimumDrag && dy >= minimumDrag) return ZoomDrag::kZoom;
  if (dx < 0 && dy < 0) return ZoomDrag::kUndo;
  return ZoomDrag::kNone;
}

ZoomDrag HorizontalZoomDragOf(int dx, int minimumDrag) {
  if (dx >= minimumDrag) return ZoomDrag::kZoom;
  if (dx <= -minimumDrag) return ZoomDrag::kUndo;
  return ZoomDrag::kNone;
}

void RubberBand::Start(int x, int y) {
  active_ = true;
  startX_ = nowX_ = x;
  startY_ = nowY_ = y;
}

void RubberBand::MoveTo(int x, int y) {
  nowX_ = x;
  nowY_ = y;
}

void RubberBand::Finish(int x, int y) {
  MoveTo(x, y);
  active_ = false;
}

}  // namespace varnok
