#pragma once

namespace varnok {

// What a drag with the left button over a chart asks for.
enum class ZoomDrag { kNone, kZoom, kUndo };

// Judged by the diagonal: from the upper-left towards the lower-right corner it zooms to the dragged
// rectangle; from the lower-right towards the upper-left it undoes the zoom. A drag along the other
// diagonal, or along one axis only, does nothing, and so does a drag shorter than `minimumDrag` pixels
// both ways (a click). `dx` and `dy` in pixels from where the button went down to where it came up
// (y grows downwards).
ZoomDrag ZoomDragOf(int dx, int dy, int minimumDrag);

// Judged by the horizontal move alone: at least `minimumDrag` pixels to the right zooms to the dragged
// horizontal extent, at least as far to the left undoes the zoom; anything shorter is a click.
ZoomDrag HorizontalZoomDragOf(int dx, int minimumDrag);

// The rectangle dragged over a chart, from where the button went down to where the mouse is now.
class RubberBand {
 public:
  void Start(int x, int y);
  void MoveTo(int x, int y);
  // The button came up at (x, y): the band is gone, its last corner is (x, y).
  void Finish(int x, int y);
  bool Active() const { return active_; }

  int StartX() const { return startX_; }
  int StartY() const { return startY_; }
  int Dx() const { return nowX_ - startX_; }
  int Dy() const { return nowY_ - startY_; }
  // The corners in pixel order, whichever way it was dragged (both edges inside the band).
  int Left() const { return startX_ < nowX_ ? startX_ : nowX_; }
  int Right() const { return startX_ < nowX_ ? nowX_ : startX_; }
  int Top() const { return startY_ < nowY_ ? startY_ : nowY_; }
  int Bottom() const { return startY_ < nowY_ ? nowY_ : startY_; }

 private:
  bool active_ = false;
  int startX_ = 0;
  int startY_ = 0;
  int nowX_ = 0;
  int nowY_ = 0;
};

}  // namespace varnok
