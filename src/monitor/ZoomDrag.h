#pragma once

namespace varnok {

// What a drag with the left button on the monitor chart does, judged by its diagonal: from the
// upper-left towards the lower-right corner it zooms to the dragged rectangle; from the lower-right
// towards the upper-left it undoes the zoom. A drag along the other diagonal, or along one axis only,
// does nothing, and so does a drag shorter than `minimumDrag` pixels both ways (a click).
enum class ZoomDrag { kNone, kZoom, kUndo };

// `dx` and `dy` in pixels from where the button went down to where it came up (y grows downwards).
ZoomDrag ZoomDragOf(int dx, int dy, int minimumDrag);

}  // namespace varnok
