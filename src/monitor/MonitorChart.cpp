#include "monitor/MonitorChart.h"
#include "monitor/ZoomDrag.h"

#include "monitor/ChartDataText.h"

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

#include "monitor/AxisTicks.h"
#include "monitor/ColumnReduction.h"
#include "monitor/PolylinePixels.h"

namespace varnok {
namespace {

constexpr int kFramePeriodMs = 15;  // about the screen's pace
constexpr int kMinimumDrag = 4;     // pixels; shorter drags are clicks

QColor ColourOf(std::uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

QString TickText(double value, double step) {
  if (step >= 1 && std::abs(value) < 1e15) return QString::number(static_cast<long long>(std::llround(value)));
  return QString::number(value, 'g', 8);
}

// Pads an empty or one-valued span so that it can be drawn.
void Widen(double& min, double& max) {
  if (max > min) return;
  const double pad = min == 0 ? 1 : std::abs(min) * 0.05;
  min -= pad;
  max += pad;
}

double Clamp(double pixel) { return std::clamp(pixel, -1e6, 1e6); }

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
  const bool fresh = reducedValid_ && reducedRevision_ == model_.Revision() &&
                     reducedColumns_ == columns && reducedRange_.xMin == shown.xMin &&
                     reducedRange_.xMax == shown.xMax && reduced_.size() == series.size();
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
    bool any = false;
    double low = 0;
    double high = 0;
    for (const auto& points : reduced_) {
      for (const ChartPoint& p : points) {
        if (p.x < shown.xMin || p.x > shown.xMax || !std::isfinite(p.y)) continue;
        if (!any) {
          low = high = p.y;
          any = true;
        } else {
          low = std::min(low, p.y);
          high = std::max(high, p.y);
        }
      }
    }
    // A margin of 5 % keeps the highest and lowest line off the frame.
    const double margin = (high - low) * 0.05;
    reducedShown_ = {shown.xMin, shown.xMax, any ? low - margin : 0, any ? high + margin : 1};
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

  const double xScale = plot.width() / (shown.xMax - shown.xMin);
  const double yScale = plot.height() / (shown.yMax - shown.yMin);
  auto toX = [&](double x) { return Clamp(plot.left() + (x - shown.xMin) * xScale); };
  auto toY = [&](double y) { return Clamp(plot.top() + plot.height() - (y - shown.yMin) * yScale); };

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
    painter.drawText(QRect(area.left(), py - metrics.height() / 2, plot.left() - area.left() - 6, metrics.height()),
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

  if (zooming_) {
    painter.setPen(QPen(colours.color(QPalette::Text), 0, Qt::DashLine));
    painter.drawRect(QRect(dragStart_, dragNow_).normalized());
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
    zooming_ = true;
    dragStart_ = dragNow_ = event->position().toPoint();
  } else if (event->button() == Qt::RightButton) {
    panning_ = true;
    dragStart_ = event->position().toPoint();
  }
}

void MonitorChart::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (zooming_) {
    dragNow_ = at;
    update();
  } else if (panning_) {
    const QPoint delta = at - dragStart_;
    dragStart_ = at;
    if (delta.isNull()) return;
    const QRect plot = PlotArea(size());
    const ChartRect current = CurrentRange();
    const double dx = -delta.x() * (current.xMax - current.xMin) / plot.width();
    const double dy = delta.y() * (current.yMax - current.yMin) / plot.height();
    axes_.PanBy(dx, dy, current);
    DataChanged();
    emit ViewChanged();
  }
}

void MonitorChart::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    panning_ = false;
    return;
  }
  if (event->button() != Qt::LeftButton || !zooming_) return;
  zooming_ = false;
  dragNow_ = event->position().toPoint();
  const QPoint delta = dragNow_ - dragStart_;
  update();
  const ZoomDrag meaning = ZoomDragOf(delta.x(), delta.y(), kMinimumDrag);
  if (meaning == ZoomDrag::kNone) return;
  if (meaning == ZoomDrag::kZoom) {
    const QRect plot = PlotArea(size());
    const ChartRect current = CurrentRange();
    const QRect dragged = QRect(dragStart_, dragNow_).normalized();
    auto toDataX = [&](int px) { return current.xMin + (px - plot.left()) * (current.xMax - current.xMin) / plot.width(); };
    auto toDataY = [&](int py) {
      return current.yMin + (plot.top() + plot.height() - py) * (current.yMax - current.yMin) / plot.height();
    };
    axes_.ZoomTo({toDataX(dragged.left()), toDataX(dragged.right()), toDataY(dragged.bottom()), toDataY(dragged.top())});
  } else {
    axes_.Undo();
  }
  DataChanged();
  emit ViewChanged();
}

}  // namespace varnok
