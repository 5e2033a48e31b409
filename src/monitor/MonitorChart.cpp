#include "monitor/MonitorChart.h"

#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

#include "chart/AxisTicks.h"
#include "chart/ColumnReduction.h"
#include "chart/PixelMapping.h"
#include "chart/RangePadding.h"
#include "chart/RubberBand.h"
#include "chart/VerticalFit.h"
#include "monitor/ChartDataText.h"
#include "monitor/PolylinePixels.h"

namespace varnok {
namespace {

constexpr int kFramePeriodMs = 15;  // about the screen's pace
constexpr int kMinimumDrag = 4;     // pixels; shorter drags are clicks

QColor ColourOf(std::uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

QString TickText(double value, double step) {
  if (step >= 1 && std::abs(value) < 1e15)
    return QString::number(static_cast<long long>(std::llround(value)));
  return QString::number(value, 'g', 8);
}

// Pads an empty or one-valued span so that it can be drawn.
void Widen(double& min, double& max) {
  const PaddedRange padded = PadRange(min, max, 0);
  min = padded.min;
  max = padded.max;
}

double Clamp(double pixel) { return std::clamp(pixel, -1e6, 1e6); }

// The plot's pixels as the mapping counts them: the vertical minimum on the row below the plot area.
PixelMapping MappingOf(const QRect& plot, const ChartRect& shown) {
  return PixelMapping(shown,
                      {static_cast<double>(plot.left()), static_cast<double>(plot.top() + plot.height()),
                       static_cast<double>(plot.width()), static_cast<double>(plot.height())});
}

}  // namespace

MonitorChart::MonitorChart(const SamplingModel& model, ChartAxes& axes, QWidget* parent)
    : QWidget(parent), model_(model), axes_(axes) {
  setObjectName("Chart1");
  setMinimumSize(200, 150);
  setAttribute(Qt::WA_OpaquePaintEvent);
  redrawTimer_.setSingleShot(true);
  connect(&redrawTimer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void MonitorChart::DataChanged() {
  // At most one redraw per frame, and never more than half of the thread's time spent redrawing:
  // after a slow redraw the next one waits as long as it took.
  if (!redrawTimer_.isActive()) redrawTimer_.start(std::max(kFramePeriodMs, lastRedrawMs_));
}

QRect MonitorChart::PlotArea(const QSize& size) const {
  const QFontMetrics metrics = fontMetrics();
  const int titleHeight = metrics.height() + 8;
  const int labelHeight = metrics.height() + 8;
  const int left = metrics.horizontalAdvance("-00000.000") + 12;
  int legend = 60;
  for (const ChartSeries& s : model_.Series()) {
    legend = std::max(legend, metrics.horizontalAdvance(QString::fromStdString(s.title)) + 40);
  }
  const int outerTop = titleHeight;
  const int outerHeight = std::max(10, size.height() - titleHeight - labelHeight);
  // The vertical axis runs from 5 % to 95 % of the height below the title.
  const int top = outerTop + static_cast<int>(outerHeight * 0.05);
  const int bottom = outerTop + static_cast<int>(outerHeight * 0.95);
  return QRect(left, top, std::max(10, size.width() - left - legend), std::max(10, bottom - top));
}

ChartRect MonitorChart::Reduce(int columns) {
  const std::optional<std::pair<double, double>> extent = model_.XExtent();
  ChartRect data = extent ? ChartRect{extent->first, extent->second, 0, 0} : ChartRect{0, 10, 0, 0};
  ChartRect shown = axes_.Shown(data);
  Widen(shown.xMin, shown.xMax);

  const auto& series = model_.Series();
  const bool fresh = reducedValid_ && reducedRevision_ == model_.Revision() && reducedColumns_ == columns &&
                     reducedRange_.xMin == shown.xMin && reducedRange_.xMax == shown.xMax &&
                     reduced_.size() == series.size();
  if (!fresh) {
    reduced_.resize(series.size());
    for (std::size_t i = 0; i < series.size(); ++i) {
      reduced_[i].clear();
      ReduceToColumns(series[i].points, shown.xMin, shown.xMax, columns, reduced_[i]);
    }
    reducedValid_ = true;
    reducedRevision_ = model_.Revision();
    reducedColumns_ = columns;
    reducedRange_ = shown;

    // An automatic vertical axis fits the points of the shown horizontal range; the reduced points
    // hold every column's extremes, so they are enough.
    VerticalFit fit(shown.xMin, shown.xMax);
    for (const auto& points : reduced_) fit.Add(points);
    const PaddedRange vertical = fit.Range();
    reducedShown_ = {shown.xMin, shown.xMax, vertical.min, vertical.max};
  }
  if (axes_.Vertical().automatic) {
    shown.yMin = reducedShown_.yMin;
    shown.yMax = reducedShown_.yMax;
  }
  Widen(shown.yMin, shown.yMax);
  return shown;
}

ChartRect MonitorChart::CurrentRange() { return Reduce(PlotArea(size()).width()); }

MonitorChart::Frame MonitorChart::Arrange(const QRect& area) {
  const QRect plot = PlotArea(area.size()).translated(area.topLeft());
  return {plot, Reduce(plot.width())};
}

void MonitorChart::Render(QPainter& painter, const QRect& area, Lines lines) {
  const Frame frame = Arrange(area);
  const QRect& plot = frame.plot;
  const ChartRect& shown = frame.shown;
  const QPalette& colours = palette();
  const QFontMetrics metrics = fontMetrics();

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(area, colours.color(QPalette::Base));
  painter.setPen(colours.color(QPalette::Text));
  painter.drawText(QRect(area.left(), area.top(), area.width(), metrics.height() + 8), Qt::AlignCenter,
                   QString::fromStdString(model_.title));

  const PixelMapping mapping = MappingOf(plot, shown);
  auto toX = [&](double x) { return Clamp(mapping.PixelX(x)); };
  auto toY = [&](double y) { return Clamp(mapping.PixelY(y)); };

  // Grid and axis labels.
  QPen gridPen(colours.color(QPalette::Mid), 0, Qt::DotLine);
  const std::vector<double> xTicks = AxisTicks(shown.xMin, shown.xMax, std::max(2, plot.width() / 90));
  const std::vector<double> yTicks = AxisTicks(shown.yMin, shown.yMax, std::max(2, plot.height() / 40));
  const double xStep = xTicks.size() > 1 ? xTicks[1] - xTicks[0] : 1;
  const double yStep = yTicks.size() > 1 ? yTicks[1] - yTicks[0] : 1;
  for (double x : xTicks) {
    const int px = static_cast<int>(std::lround(toX(x)));
    painter.setPen(gridPen);
    painter.drawLine(px, plot.top(), px, plot.top() + plot.height());
    painter.setPen(colours.color(QPalette::Text));
    painter.drawText(QRect(px - 60, plot.top() + plot.height() + 4, 120, metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop, TickText(x, xStep));
  }
  for (double y : yTicks) {
    const int py = static_cast<int>(std::lround(toY(y)));
    painter.setPen(gridPen);
    painter.drawLine(plot.left(), py, plot.left() + plot.width(), py);
    painter.setPen(colours.color(QPalette::Text));
    painter.drawText(
        QRect(area.left(), py - metrics.height() / 2, plot.left() - area.left() - 6, metrics.height()),
        Qt::AlignRight | Qt::AlignVCenter, TickText(y, yStep));
  }
  painter.setPen(colours.color(QPalette::Text));
  painter.drawRect(plot.adjusted(0, 0, 0, 0));

  // The lines.
  const auto& series = model_.Series();
  drawnPoints_ = 0;
  painter.setClipRect(plot.adjusted(1, 1, 0, 0));
  // Whole pixels: points that land on the pixel of the one before add nothing to the line.
  const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
  const bool pixels = lines == Lines::Pixels;
  if (pixels) {
    const QSize layerSize = (QSizeF(plot.size()) * ratio).toSize();
    if (lineLayer_.size() != layerSize) lineLayer_ = QImage(layerSize, QImage::Format_ARGB32_Premultiplied);
    lineLayer_.fill(Qt::transparent);
  }
  std::vector<QPoint> polyline;
  std::vector<PixelPoint> layerLine;
  for (std::size_t i = 0; i < series.size() && i < reduced_.size(); ++i) {
    const std::vector<ChartPoint>& points = reduced_[i];
    const QColor colour = ColourOf(series[i].colour);
    polyline.clear();
    polyline.reserve(points.size());
    for (const ChartPoint& p : points) {
      const QPoint pixel(static_cast<int>(std::lround(toX(p.x))), static_cast<int>(std::lround(toY(p.y))));
      if (polyline.empty() || polyline.back() != pixel) polyline.push_back(pixel);
    }
    drawnPoints_ += polyline.size();
    if (points.size() == 1) {
      painter.setPen(QPen(colour, 0));
      painter.setBrush(colour);
      painter.drawRect(QRect(polyline[0] - QPoint(2, 2), QSize(4, 4)));
      painter.setBrush(Qt::NoBrush);
    } else if (pixels) {
      layerLine.clear();
      for (const QPoint& p : polyline) {
        layerLine.push_back({static_cast<int>(std::lround((p.x() - plot.left()) * ratio)),
                             static_cast<int>(std::lround((p.y() - plot.top()) * ratio))});
      }
      DrawPolylinePixels(reinterpret_cast<std::uint32_t*>(lineLayer_.bits()), lineLayer_.width(),
                         lineLayer_.height(), lineLayer_.bytesPerLine() / 4, layerLine, colour.rgba());
    } else if (polyline.size() > 1) {
      painter.setPen(QPen(colour, 0));
      painter.drawPolyline(polyline.data(), static_cast<int>(polyline.size()));
    }
  }
  if (pixels) {
    lineLayer_.setDevicePixelRatio(ratio);
    painter.drawImage(plot.topLeft(), lineLayer_);
  }
  painter.setClipping(false);

  // Legend.
  int legendY = plot.top();
  const int legendX = plot.left() + plot.width() + 8;
  for (const ChartSeries& s : series) {
    painter.setPen(QPen(ColourOf(s.colour), 2));
    const int middle = legendY + metrics.height() / 2;
    painter.drawLine(legendX, middle, legendX + 16, middle);
    painter.setPen(colours.color(QPalette::Text));
    painter.drawText(QPoint(legendX + 22, legendY + metrics.ascent()), QString::fromStdString(s.title));
    legendY += metrics.height() + 2;
  }

  if (band_.Active()) {
    painter.setPen(QPen(colours.color(QPalette::Text), 0, Qt::DashLine));
    painter.drawRect(QRect(QPoint(band_.Left(), band_.Top()), QPoint(band_.Right(), band_.Bottom())));
  }
  painter.restore();
}

void MonitorChart::paintEvent(QPaintEvent*) {
  QElapsedTimer clock;
  clock.start();
  QPainter painter(this);
  Render(painter, rect());
  lastRedrawMs_ = static_cast<int>(std::min<qint64>(clock.elapsed(), 1000));
}

void MonitorChart::CopyToClipboard() {
  const QRect area(QPoint(0, 0), size());
  auto* mime = new QMimeData;

  QBuffer svg;
  svg.open(QIODevice::WriteOnly);
  {
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize(area.size());
    generator.setViewBox(area);
    generator.setTitle("Monitor chart");
    QPainter painter(&generator);
    Render(painter, area, Lines::Vectors);
  }
  mime->setData("image/svg+xml", svg.data());

  QImage bitmap(area.size(), QImage::Format_RGB32);
  {
    QPainter painter(&bitmap);
    Render(painter, area);
  }
  mime->setImageData(bitmap);
  // The numbers beside the pictures: a paste into a spreadsheet gives the data.
  mime->setText(QString::fromStdString(ChartDataText(model_)));
  QGuiApplication::clipboard()->setMimeData(mime);
}

void MonitorChart::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const QPoint at = event->position().toPoint();
    band_.Start(at.x(), at.y());
  } else if (event->button() == Qt::RightButton) {
    panning_ = true;
    dragStart_ = event->position().toPoint();
  }
}

void MonitorChart::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (band_.Active()) {
    band_.MoveTo(at.x(), at.y());
    update();
  } else if (panning_) {
    const QPoint delta = at - dragStart_;
    dragStart_ = at;
    if (delta.isNull()) return;
    const ChartRect current = CurrentRange();
    const PixelMapping mapping = MappingOf(PlotArea(size()), current);
    axes_.PanBy(mapping.DistanceX(-delta.x()), mapping.DistanceY(delta.y()), current);
    DataChanged();
    emit ViewChanged();
  }
}

void MonitorChart::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    panning_ = false;
    return;
  }
  if (event->button() != Qt::LeftButton || !band_.Active()) return;
  const QPoint at = event->position().toPoint();
  band_.Finish(at.x(), at.y());
  update();
  const ZoomDrag meaning = ZoomDragOf(band_.Dx(), band_.Dy(), kMinimumDrag);
  if (meaning == ZoomDrag::kNone) return;
  if (meaning == ZoomDrag::kZoom) {
    const PixelMapping mapping = MappingOf(PlotArea(size()), CurrentRange());
    axes_.ZoomTo(mapping.DataRect(band_.Left(), band_.Bottom(), band_.Right(), band_.Top()));
  } else {
    axes_.Undo();
  }
  DataChanged();
  emit ViewChanged();
}

}  // namespace varnok
