#pragma once
#include <vector>

#include "monitor/PointRing.h"

namespace varnok {

// Reduces the points of one series that a plot `columns` pixels wide shows over [xMin, xMax] to what
// a line through all of them would draw: per pixel column its first, lowest, highest and last point,
// in x order. The nearest point outside each edge is kept too, so the line runs on to the border.
// Points with a value that is not finite are left out. Appends to `out`.
void ReduceToColumns(const PointRing& points, double xMin, double xMax, int columns,
                     std::vector<ChartPoint>& out);

}  // namespace varnok
