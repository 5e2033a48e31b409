#include "chart/PixelMapping.h"

#include <algorithm>

namespace varnok {

PixelMapping::PixelMapping(const ChartRect& shown, const PlotPixels& plot)
    : shown_(shown),
      plot_(plot),
      xSpan_(shown.xMax - shown.xMin),
      ySpan_(shown.yMax - shown.yMin),
      xScale_(plot.width / xSpan_),
      yScale_(plot.height / ySpan_) {}

ChartRect PixelMapping::DataRect(double pixelX0, double pixelY0, double pixelX1, double pixelY1) const {
  const double x0 = DataX(pixelX0);
  const double x1 = DataX(pixelX1);
  const double y0 = DataY(pixelY0);
  const double y1 = DataY(pixelY1);
  return {std::min(x0, x1), std::max(x0, x1), std::min(y0, y1), std::max(y0, y1)};
}

}  // namespace varnok
