#include "monitor/ChartAxes.h"

namespace varnok {

ChartRect ChartAxes::Shown(const ChartRect& data) const {
  ChartRect shown = data;
  if (!horizontal_.automatic) {
    shown.xMin = horizontal_.min;
    shown.xMax = horizontal_.max;
  }
  if (!vertical_.automatic) {
    shown.yMin = vertical_.min;
    shown.yMax = vertical_.max;
  }
  return shown;
}

void ChartAxes::Remember() {
  if (!remembered_) remembered_ = Memory{horizontal_, vertical_};
}

void ChartAxes::Fix(const ChartRect& rect) {
  horizontal_ = {rect.xMin, rect.xMax, false};
  vertical_ = {rect.yMin, rect.yMax, false};
}

void ChartAxes::ZoomIn(const ChartRect& data) {
  Remember();
  const ChartRect shown = Shown(data);
  const double dx = (shown.xMax - shown.xMin) * (125 - 100) / 100;
  const double dy = (shown.yMax - shown.yMin) * (125 - 100) / 100;
  Fix({shown.xMin + dx, shown.xMax - dx, shown.yMin + dy, shown.yMax - dy});
}

void ChartAxes::ZoomTo(const ChartRect& target) {
  Remember();
  Fix(target);
}

void ChartAxes::PanBy(double dx, double dy, const ChartRect& data) {
  Remember();
  const ChartRect shown = Shown(data);
  Fix({shown.xMin + dx, shown.xMax + dx, shown.yMin + dy, shown.yMax + dy});
}

void ChartAxes::Undo() {
  if (!remembered_) return;
  horizontal_ = remembered_->horizontal;
  vertical_ = remembered_->vertical;
  remembered_.reset();
}

void ChartAxes::Follow(double newestX, double dataXMin) {
  const double shownMin = horizontal_.automatic ? dataXMin : horizontal_.min;
  if (newestX > shownMin) horizontal_.max = newestX;
}

}  // namespace varnok
