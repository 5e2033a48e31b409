#pragma once

#include "chart/ChartPoint.h"

namespace varnok {

// The plot's pixels: `left` is the column of the horizontal minimum and `bottom` the row of the
// vertical minimum (rows grow downwards); the maxima lie `width` and `height` pixels further on.
struct PlotPixels {
  double left = 0;
  double bottom = 0;
  double width = 1;
  double height = 1;
};

// The one mapping between a chart's data rectangle and its plot's pixels, both ways. The rectangle
// must have room both ways (see PadRange).
class PixelMapping {
 public:
  PixelMapping(const ChartRect& shown, const PlotPixels& plot);

  double PixelX(double x) const { return plot_.left + (x - shown_.xMin) * xScale_; }
  double PixelY(double y) const { return plot_.bottom - (y - shown_.yMin) * yScale_; }
  double DataX(double pixelX) const { return shown_.xMin + DistanceX(pixelX - plot_.left); }
  double DataY(double pixelY) const { return shown_.yMin + DistanceY(plot_.bottom - pixelY); }
  // The data distance of a move by `pixels` (how far a drag moves the view).
  double DistanceX(double pixels) const { return pixels * xSpan_ / plot_.width; }
  double DistanceY(double pixels) const { return pixels * ySpan_ / plot_.height; }
  // The data rectangle between two pixel corners, in either order.
  ChartRect DataRect(double pixelX0, double pixelY0, double pixelX1, double pixelY1) const;

  const ChartRect& Shown() const { return shown_; }

 private:
  ChartRect shown_;
  PlotPixels plot_;
  double xSpan_;
  double ySpan_;
  double xScale_;  // pixels per data unit
  double yScale_;
};

}  // namespace varnok
