#pragma once
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "chart/RubberBand.h"
#include "monitor/ChartAxes.h"
#include "monitor/SamplingModel.h"

namespace varnok {

// The monitor chart: the model's series as lines over the sample number, with title, legend and axes.
// It draws only what the plot can show (each pixel column's first, last, lowest and highest point),
// recomputed when the points or the shown range change, and redraws at most at the screen's pace.
// Mouse: a rectangle dragged left to right zooms into it, right to left undoes the zoom; the right
// button pans.
class MonitorChart : public QWidget {
  Q_OBJECT

 public:
  MonitorChart(const SamplingModel& model, ChartAxes& axes, QWidget* parent = nullptr);

  // The points, the series or the axes changed: redraw soon (coalesced to the screen's pace).
  void DataChanged();

  // The data rectangle the chart shows now.
  ChartRect CurrentRange();

  // How the lines are drawn: into a pixel layer of their own (fast; screen and bitmaps) or as
  // polylines (vector pictures).
  enum class Lines { Pixels, Vectors };

  // Draws the whole chart into `area` of any paint device (screen, picture for the clipboard, image).
  void Render(QPainter& painter, const QRect& area, Lines lines = Lines::Pixels);

  // Puts the chart on the clipboard as a vector drawing (SVG) and as a bitmap.
  void CopyToClipboard();

  // The drawing area of the lines for a chart of `size`.
  QRect PlotArea(const QSize& size) const;

  // Points handed to the painter by the last redraw, all series together.
  std::size_t DrawnPointCount() const { return drawnPoints_; }

 signals:
  // The technician zoomed, panned or undid with the mouse.
  void ViewChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  struct Frame {
    QRect plot;
    ChartRect shown;
  };
  // Brings the reduced series up to date for the plot width and the shown horizontal range and
  // returns the full shown rectangle (the vertical range of automatic axes from the reduced points).
  ChartRect Reduce(int columns);
  Frame Arrange(const QRect& area);

  const SamplingModel& model_;
  ChartAxes& axes_;
  QTimer redrawTimer_;
  int lastRedrawMs_ = 0;
  std::vector<std::vector<ChartPoint>> reduced_;
  std::uint64_t reducedRevision_ = ~0ull;
  ChartRect reducedRange_{};
  int reducedColumns_ = -1;
  bool reducedValid_ = false;
  ChartRect reducedShown_{};
  std::size_t drawnPoints_ = 0;

  QImage lineLayer_;
  RubberBand band_;  // the left button's zoom rectangle
  bool panning_ = false;
  QPoint dragStart_;  // where the right button's pan last stood
};

}  // namespace varnok
