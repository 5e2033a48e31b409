#include "calibration/CalibrationChartView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "chart/AxisTicks.h"
#include "chart/ColumnReduction.h"
#include "chart/RangePadding.h"
#include "chart/VerticalFit.h"

namespace varnok {

namespace {

constexpr int kLeftMargin = 76;  // vertical axis title and tick labels
constexpr int kRightMargin = 12;
constexpr int kTopMargin = 8;
constexpr int kBottomMargin = 22;  // horizontal tick labels
constexpr int kMinimumDrag = 5;    // pixels sideways; shorter drags are clicks
constexpr int kWantedXTicks = 5;
constexpr int kWantedYTicks = 4;

// The range actually drawn: a single value is shown with at least 1 around it.
PaddedRange Drawable(double min, double max) { return PadRange(min, max, 1.0); }

std::string HorizontalLabel(double value, double step) { return DecimalTickLabel(value, step, 10); }

}  // namespace

CalibrationChartView::CalibrationChartView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(false);
}

void CalibrationChartView::SetSeries(std::string title, std::span<const double> xs,
                                     std::span<const double> ys) {
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

PixelMapping CalibrationChartView::Mapping() const {
  const QRect plot = PlotArea();
  const PaddedRange x = Drawable(xMin_, xMax_);
  const PaddedRange y = Drawable(yMin_, yMax_);
  return PixelMapping({x.min, x.max, y.min, y.max},
                      {static_cast<double>(plot.left()), static_cast<double>(plot.bottom()),
                       static_cast<double>(plot.width()), static_cast<double>(plot.height())});
}

double CalibrationChartView::ValueAt(int widgetX) const { return Mapping().DataX(widgetX); }

void CalibrationChartView::Reduce() {
  const PaddedRange x = Drawable(xMin_, xMax_);
  reduced_ = ReduceToColumns(xs_, ys_, x.min, x.max, PlotArea().width());
  // The vertical axis fits the points inside the horizontal range.
  VerticalFit fit(x.min, x.max);
  fit.Add(reduced_);
  const PaddedRange y = fit.Range();
  yMin_ = y.min;
  yMax_ = y.max;
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
  const PixelMapping mapping = Mapping();
  const ChartRect& shown = mapping.Shown();
  const auto toX = [&](double x) { return mapping.PixelX(x); };
  const auto toY = [&](double y) { return mapping.PixelY(y); };

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
  for (const LabelledTick& tick : LabelFittedTicks(shown.xMin, shown.xMax, plot.width(), kWantedXTicks,
                                                   HorizontalLabel, labelWidth, metrics.averageCharWidth())) {
    const double px = toX(tick.value);
    painter.setPen(grid);
    painter.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
    painter.setPen(text);
    const QString label = QString::fromStdString(tick.label);
    const double width = metrics.horizontalAdvance(label) + 2;
    painter.drawText(QRectF(px - width / 2, plot.bottom() + 3, width, metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop, label);
  }
  const TickStep yStep = StepNearest(shown.yMax - shown.yMin, kWantedYTicks);
  for (double t : TicksInside(shown.yMin, shown.yMax, yStep, 1000)) {
    const double py = toY(t);
    painter.setPen(grid);
    painter.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
    painter.setPen(text);
    const QString label = QString::number(std::fabs(t) < yStep.Value() * 1e-9 ? 0.0 : t, 'g', 6);
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
  for (const ChartPoint& p : reduced_) line.append(QPointF(toX(p.x), toY(p.y)));
  painter.setPen(QPen(Qt::red, 1));
  painter.drawPolyline(line);
  painter.setPen(QPen(Qt::red, 3, Qt::SolidLine, Qt::SquareCap));
  painter.drawPoints(line);

  if (band_.Active()) {
    painter.setClipping(false);
    painter.setPen(QPen(text, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(band_.Left(), band_.Top()), QPoint(band_.Right(), band_.Bottom())));
  }
}

void CalibrationChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !PlotArea().contains(event->position().toPoint())) {
    QWidget::mousePressEvent(event);
    return;
  }
  const QPoint at = event->position().toPoint();
  band_.Start(at.x(), at.y());
}

void CalibrationChartView::mouseMoveEvent(QMouseEvent* event) {
  if (!band_.Active()) return;
  const QPoint at = event->position().toPoint();
  band_.MoveTo(at.x(), at.y());
  update();
}

void CalibrationChartView::mouseReleaseEvent(QMouseEvent* event) {
  if (!band_.Active() || event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  band_.Finish(at.x(), at.y());
  update();
  const ZoomDrag meaning = HorizontalZoomDragOf(band_.Dx(), kMinimumDrag);
  if (meaning == ZoomDrag::kZoom) {
    const QRect plot = PlotArea();
    const PixelMapping mapping = Mapping();
    const double min = mapping.DataX(std::clamp(band_.Left(), plot.left(), plot.right()));
    const double max = mapping.DataX(std::clamp(band_.Right(), plot.left(), plot.right()));
    SetHorizontalRange(min, max);
    emit Zoomed(min, max);
  } else if (meaning == ZoomDrag::kUndo) {
    emit ZoomUndone();
  }
}

}  // namespace varnok
