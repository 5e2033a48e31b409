#include "CalibrationChartView.h"
#include "AxisLabelTicks.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace varnok {

namespace {

constexpr int kLeftMargin = 76;   // vertical axis title and tick labels
constexpr int kRightMargin = 12;
constexpr int kTopMargin = 8;
constexpr int kBottomMargin = 22; // horizontal tick labels
constexpr int kDragThreshold = 4;

// A tick step of 1, 2 or 5 times a power of ten giving about `wanted` intervals.
double TickStep(double span, int wanted) {
  if (!(span > 0)) return 1.0;
  const double raw = span / wanted;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  const double fraction = raw / power;
  const double nice = fraction < 1.5 ? 1.0 : fraction < 3.5 ? 2.0 : fraction < 7.5 ? 5.0 : 10.0;
  return nice * power;
}

// The range actually drawn: a single value is shown with room around it.
std::pair<double, double> Drawable(double min, double max) {
  if (max > min) return {min, max};
  const double pad = std::max(1.0, std::fabs(min) * 0.05);
  return {min - pad, min + pad};
}

}  // namespace

CalibrationChartView::CalibrationChartView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(false);
}

void CalibrationChartView::SetSeries(std::string title, std::span<const double> xs, std::span<const double> ys) {
  title_ = std::move(title);
  xs_ = xs;
  ys_ = ys;
  reducedValid_ = false;
  update();
}

void CalibrationChartView::SetHorizontalRange(double min, double max) {
  if (min == xMin_ && max == xMax_ && reducedValid_) return;
  xMin_ = min;
  xMax_ = max;
  reducedValid_ = false;
  update();
}

QRect CalibrationChartView::PlotArea() const {
  return QRect(kLeftMargin, kTopMargin, std::max(1, width() - kLeftMargin - kRightMargin),
               std::max(1, height() - kTopMargin - kBottomMargin));
}

double CalibrationChartView::ValueAt(int widgetX) const {
  const QRect plot = PlotArea();
  const auto [min, max] = Drawable(xMin_, xMax_);
  return min + (widgetX - plot.left()) * (max - min) / plot.width();
}

void CalibrationChartView::Reduce() {
  const auto [min, max] = Drawable(xMin_, xMax_);
  reduced_ = ReduceToPixelColumns(xs_, ys_, min, max, PlotArea().width());
  // The vertical axis fits the points inside the horizontal range.
  bool any = false;
  for (const CalPoint& p : reduced_) {
    if (p.x < min || p.x > max) continue;
    if (!any) {
      yMin_ = yMax_ = p.y;
      any = true;
    } else {
      yMin_ = std::min(yMin_, p.y);
      yMax_ = std::max(yMax_, p.y);
    }
  }
  if (!any) {
    yMin_ = 0.0;
    yMax_ = 1.0;
  }
  const double margin = (yMax_ - yMin_) * 0.05;
  yMin_ -= margin;
  yMax_ += margin;
  reducedValid_ = true;
}

void CalibrationChartView::resizeEvent(QResizeEvent* event) {
  reducedValid_ = false;
  QWidget::resizeEvent(event);
}

void CalibrationChartView::paintEvent(QPaintEvent*) {
  if (!reducedValid_) Reduce();
  ++paintCount_;
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  const QRect plot = PlotArea();
  const auto [xMin, xMax] = Drawable(xMin_, xMax_);
  const auto [yMin, yMax] = Drawable(yMin_, yMax_);
  const auto toX = [&](double x) { return plot.left() + (x - xMin) * plot.width() / (xMax - xMin); };
  const auto toY = [&](double y) { return plot.bottom() - (y - yMin) * plot.height() / (yMax - yMin); };

  const QColor text = palette().color(QPalette::Text);
  QColor grid = palette().color(QPalette::Mid);
  grid.setAlpha(90);
  const QFontMetrics metrics(font());

  // Grid lines and tick labels.
  // Horizontal labels are chosen from their width so that neighbours never touch (x may have 6 or 7
  // digits).
  const auto labelWidth = [&](std::string_view label) {
    return static_cast<double>(metrics.horizontalAdvance(QString::fromUtf8(label.data(), label.size())));
  };
  for (const LabelledTick& tick : HorizontalAxisTicks(xMin, xMax, plot.width(), 5, labelWidth, metrics.averageCharWidth())) {
    const double px = toX(tick.value);
    painter.setPen(grid);
    painter.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
    painter.setPen(text);
    const QString label = QString::fromStdString(tick.label);
    const double width = metrics.horizontalAdvance(label) + 2;
    painter.drawText(QRectF(px - width / 2, plot.bottom() + 3, width, metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                     label);
  }
  const double yStep = TickStep(yMax - yMin, 4);
  for (double t = std::ceil(yMin / yStep) * yStep; t <= yMax + yStep * 1e-9; t += yStep) {
    const double py = toY(t);
    painter.setPen(grid);
    painter.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
    painter.setPen(text);
    const QString label = QString::number(std::fabs(t) < yStep * 1e-9 ? 0.0 : t, 'g', 6);
    painter.drawText(QRectF(0, py - metrics.height() / 2.0, plot.left() - 4, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, label);
  }
  painter.setPen(text);
  painter.drawRect(plot.adjusted(0, 0, -1, -1));

  // The vertical axis title, turned to read upwards.
  painter.save();
  painter.translate(metrics.height() * 0.2, plot.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-plot.height() / 2.0, 0, plot.height(), metrics.height()), Qt::AlignCenter,
                   QString::fromStdString(title_));
  painter.restore();

  // The series: a red line through its points, the points marked.
  painter.setClipRect(plot);
  QPolygonF line;
  line.reserve(static_cast<qsizetype>(reduced_.size()));
  for (const CalPoint& p : reduced_) line.append(QPointF(toX(p.x), toY(p.y)));
  painter.setPen(QPen(Qt::red, 1));
  painter.drawPolyline(line);
  painter.setPen(QPen(Qt::red, 3, Qt::SolidLine, Qt::SquareCap));
  painter.drawPoints(line);

  if (dragging_) {
    painter.setClipping(false);
    painter.setPen(QPen(text, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(dragStart_, dragNow_).normalized());
  }
}

void CalibrationChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !PlotArea().contains(event->position().toPoint())) {
    QWidget::mousePressEvent(event);
    return;
  }
  dragging_ = true;
  dragStart_ = dragNow_ = event->position().toPoint();
}

void CalibrationChartView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  dragNow_ = event->position().toPoint();
  update();
}

void CalibrationChartView::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return;
  dragging_ = false;
  dragNow_ = event->position().toPoint();
  update();
  const int dx = dragNow_.x() - dragStart_.x();
  if (dx > kDragThreshold) {
    const QRect plot = PlotArea();
    const int from = std::clamp(dragStart_.x(), plot.left(), plot.right());
    const int to = std::clamp(dragNow_.x(), plot.left(), plot.right());
    const double min = ValueAt(from), max = ValueAt(to);
    SetHorizontalRange(min, max);
    emit Zoomed(min, max);
  } else if (dx < -kDragThreshold) {
    emit ZoomUndone();
  }
}

}  // namespace varnok
