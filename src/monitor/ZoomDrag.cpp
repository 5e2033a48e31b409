#include "monitor/ZoomDrag.h"

#include <cstdlib>

namespace varnok {

ZoomDrag ZoomDragOf(int dx, int dy, int minimumDrag) {
  if (std::abs(dx) < minimumDrag && std::abs(dy) < minimumDrag) return ZoomDrag::kNone;
  // A rectangle to zoom to needs room both ways.
  if (dx >= minimumDrag && dy >= minimumDrag) return ZoomDrag::kZoom;
  if (dx < 0 && dy < 0) return ZoomDrag::kUndo;
  return ZoomDrag::kNone;
}

}  // namespace varnok
