#pragma once
#include <optional>

#include "chart/ChartPoint.h"

namespace varnok {

// One axis: a fixed range, or automatic (it shows the data's extent and ignores min and max).
struct AxisRange {
  double min = 0;
  double max = 0;
  bool automatic = true;
  bool operator==(const AxisRange&) const = default;
};

// The horizontal and vertical axis of the monitor chart with zoom, pan, follow and undo. The first
// zoom or pan since the last undo remembers both axes; undo gives them back, modes included.
class ChartAxes {
 public:
  const AxisRange& Horizontal() const { return horizontal_; }
  const AxisRange& Vertical() const { return vertical_; }
  bool Zoomed() const { return remembered_.has_value(); }

  // The rectangle the axes show for data spanning `data`.
  ChartRect Shown(const ChartRect& data) const;

  // Zoom 125 %: each axis loses a quarter of its span at both ends, so the view halves about its
  // centre.
  void ZoomIn(const ChartRect& data);
  // Fixes both axes to `target` (a rectangle dragged with the mouse).
  void ZoomTo(const ChartRect& target);
  // Moves the view by (dx, dy) in data units, fixing both axes.
  void PanBy(double dx, double dy, const ChartRect& data);
  // Gives back the ranges remembered at the first zoom or pan; nothing when none are remembered.
  void Undo();
  // Keeps the newest sample at the right edge: sets the horizontal maximum to `newestX` when it lies
  // beyond the shown minimum (`dataXMin`, the data's first x, while the axis is automatic). An
  // automatic axis keeps following the data all the same.
  void Follow(double newestX, double dataXMin);

 private:
  void Remember();
  void Fix(const ChartRect& rect);

  AxisRange horizontal_;
  AxisRange vertical_;
  struct Memory {
    AxisRange horizontal;
    AxisRange vertical;
  };
  std::optional<Memory> remembered_;
};

}  // namespace varnok
