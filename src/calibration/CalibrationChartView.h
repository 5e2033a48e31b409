#pragma once
#include <QPoint>
#include <QWidget>

#include <span>
#include <string>
#include <vector>

#include "chart/ChartPoint.h"
#include "chart/PixelMapping.h"
#include "chart/RubberBand.h"

namespace varnok {

// One calibration chart: a red line with its points over a horizontal range, the column title on the
// vertical axis, no legend and no chart title. Only the points the width can show are drawn (each
// pixel column's first, lowest, highest and last point), recomputed when the range or the size
// changes. A missing value (not a finite number) is no point.
//
// Mouse: dragging a rectangle from left to right zooms to its horizontal extent (Zoomed); dragging from
// right to left undoes this chart's zoom (ZoomUndone).
class CalibrationChartView : public QWidget {
  Q_OBJECT

 public:
  explicit CalibrationChartView(QWidget* parent = nullptr);

  // The points stay owned by the caller and must outlive the view (or be replaced first).
  void SetSeries(std::string title, std::span<const double> xs, std::span<const double> ys);
  void SetHorizontalRange(double min, double max);

  const std::string& Title() const { return title_; }
  double RangeMin() const { return xMin_; }
  double RangeMax() const { return xMax_; }
  // What the last paint drew, for tests and the benchmark.
  const std::vector<ChartPoint>& DrawnPoints() const { return reduced_; }
  int PaintCount() const { return paintCount_; }
  // The data rectangle the last paint showed: the horizontal range and the vertical fit, padded.
  ChartRect ShownRange() const { return Mapping().Shown(); }

  // The horizontal value under a widget x coordinate.
  double ValueAt(int widgetX) const;

 signals:
  void Zoomed(double min, double max);
  void ZoomUndone();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QRect PlotArea() const;
  // The mapping of the shown rectangle (horizontal range and vertical fit, padded) to the plot.
  PixelMapping Mapping() const;
  void Reduce();

  std::string title_;
  std::span<const double> xs_;
  std::span<const double> ys_;
  double xMin_ = 0.0;
  double xMax_ = 0.0;
  std::vector<ChartPoint> reduced_;
  bool reducedValid_ = false;
  double yMin_ = 0.0;
  double yMax_ = 0.0;
  int paintCount_ = 0;
  RubberBand band_;
};

}  // namespace varnok
