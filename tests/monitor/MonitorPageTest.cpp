#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "tests/monitor/MonitorLink.h"
#include "core/AppError.h"
#include "monitor/MonitorChart.h"
#include "monitor/MonitorPage.h"

namespace varnok {
namespace {

using testing::BlockOf60;
using testing::MonitorLink;

class MonitorPageTest : public ::testing::Test {
 protected:
  MonitorPageTest() : page(link) {
    page.SetAlertSound([this] { ++alerts; });
    page.resize(970, 560);
    connect();
  }
  void connect() {
    QObject::connect(&page, &MonitorPage::SecondPanelText, [this](const QString& t) { panelTexts << t; });
  }

  template <typename T>
  T* Find(const char* name) {
    T* widget = page.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QToolButton* Plot() { return Find<QToolButton>("PlotBtn"); }
  QTimer* Timer() { return Find<QTimer>("chartTimer"); }
  // Clicks PlotBtn the way the technician does: the click toggles it, then the handler runs.
  void ClickPlot(const QString& timeStep) {
    Find<QLineEdit>("chartTS")->setText(timeStep);
    Plot()->toggle();
    page.PlotBtnClick();
  }
  void SelectChannels(std::initializer_list<int> rows) {
    auto* list = Find<QListWidget>("ListBox1");
    list->clearSelection();
    for (int row : rows) list->item(row)->setSelected(true);
    page.Draw1Click();
  }
  void Sample() {
    link.Answer(BlockOf60(static_cast<float>(page.Model().sampleCount)));
    page.chartTimerTimer();
  }

  MonitorLink link;
  MonitorPage page;
  int alerts = 0;
  QStringList panelTexts;
};

TEST_F(MonitorPageTest, ControlsCaptionsAndHints) {
  struct Expected {
    const char* name;
    QString caption;
    QString hint;
  } expected[] = {
      {"Label34", "Select and right click", ""},
      {"ListBox1", "", "Select Items and Right Click to Draw. Use CTRL or Shift for multiple selection. "},
      {"SetOffsetsBtn", "Set offsets", "Remember current value as offset"},
      {"ZeroOffsetsBtn", "Zero offsets", "Zero offset"},
      {"Button8", "Copy Chart", "Copy Chart to Clipboard. Use CtrlV to paste."},
      {"Label32", "Timer (s)", ""},
      {"chartTS", "0.5", "X time scale (s)\nUse 0.xx format for valuse < 1 sec."},
      {"PlotBtn", "", "Set chart timer\nand plot data."},
      {"chartReset", "Clear", "Reset Chart. \nZero time."},
      {"ZoomBtn", "", "Zoom 125%\nUse left to right mouse select to zoom."},
      {"SpeedButton7", "", "Unzoom 75%\nUse right-to-left mouse select to unzoom."},
      {"SpeedButton8", "", "Undo Zoom"},
      {"Last", "-->|", "Last Points"},
      {"Label33", "Number of Points", ""},
      {"Wind", "", "Maximum points in graph."},
  };
  for (const Expected& e : expected) {
    QWidget* widget = Find<QWidget>(e.name);
    if (!widget) continue;
    EXPECT_EQ(widget->toolTip(), e.hint) << e.name;
    QString text;
    if (auto* label = qobject_cast<QLabel*>(widget)) text = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) text = edit->text();
    EXPECT_EQ(text, e.caption) << e.name;
  }
  auto* list = Find<QListWidget>("ListBox1");
  ASSERT_EQ(list->count(), 22);
  EXPECT_EQ(list->item(1)->text(), "PS  12 V");
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
  auto* wind = Find<QSpinBox>("Wind");
  EXPECT_EQ(wind->minimum(), 1);
  EXPECT_EQ(wind->maximum(), 100000);
  EXPECT_EQ(wind->value(), 5000);
  EXPECT_FALSE(Find<QCheckBox>("Last")->isChecked());
  EXPECT_EQ(Find<QAction>("Draw1")->text(), "Add to selection");
  EXPECT_TRUE(Plot()->isCheckable());
  EXPECT_FALSE(Plot()->icon().isNull());
  EXPECT_EQ(Timer()->interval(), 500);
  EXPECT_TRUE(Timer()->isActive());
  EXPECT_EQ(page.Chart()->objectName(), "Chart1");

  const QStringList help = Find<QPlainTextEdit>("Memo3")->toPlainText().split('\n');
  ASSERT_EQ(help.size(), 15);
  EXPECT_EQ(help[0], "Using Chart");
  EXPECT_EQ(help[1], "");
  EXPECT_EQ(help[7], "To add new commands to chart: type command, then click Set Variables. ");
  EXPECT_EQ(help[11], "Set offsets: remembers currecnt value of variables as offsets. ");
  EXPECT_EQ(help[14], "|<---   adds points to the right side when graph is zoomed. ");
}

TEST_F(MonitorPageTest, PeriodRules) {
  ClickPlot("0.005");
  EXPECT_EQ(alerts, 1);
  EXPECT_EQ(panelTexts, QStringList{" Too small value. Must >= 0.01 s"});
  EXPECT_FALSE(Plot()->isChecked());
  EXPECT_EQ(Timer()->interval(), 500);  // left as it was
  EXPECT_TRUE(Timer()->isActive());

  ClickPlot("0.01");
  EXPECT_TRUE(Plot()->isChecked());
  EXPECT_EQ(Timer()->interval(), 10);
  EXPECT_TRUE(Timer()->isActive());
  EXPECT_EQ(alerts, 1);

  // Released: the timer keeps running and its ticks do nothing.
  ClickPlot(" 0.0125 ");
  EXPECT_FALSE(Plot()->isChecked());
  EXPECT_EQ(Timer()->interval(), 10);
  EXPECT_TRUE(Timer()->isActive());
  page.chartTimerTimer();
  EXPECT_TRUE(link.sent.empty());
}

TEST_F(MonitorPageTest, TimeStepThatIsNotANumberEndsTheHandler) {
  Find<QLineEdit>("chartTS")->setText("0.5 s");
  Plot()->toggle();
  try {
    page.PlotBtnClick();
    FAIL() << "no conversion failure";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "'0.5 s' is not a valid floating point value");
  }
  EXPECT_TRUE(Plot()->isChecked());  // keeps the state the click gave it
  EXPECT_EQ(Timer()->interval(), 500);
  EXPECT_EQ(alerts, 0);
}

TEST_F(MonitorPageTest, NotConnected) {
  link.connected = false;
  ClickPlot("0.5");
  EXPECT_FALSE(Plot()->isChecked());
  EXPECT_FALSE(Timer()->isActive());
  EXPECT_EQ(alerts, 1);
  EXPECT_EQ(panelTexts, QStringList{"You are not connected!"});

  // A tick without a connection only releases the button.
  link.connected = true;
  ClickPlot("0.5");
  link.connected = false;
  page.chartTimerTimer();
  EXPECT_FALSE(Plot()->isChecked());
  EXPECT_TRUE(Timer()->isActive());
  EXPECT_EQ(page.Model().sampleCount, 0);
}

TEST_F(MonitorPageTest, SelectionPauseAndResume) {
  ClickPlot("1.0");
  SelectChannels({0, 5, 17});
  EXPECT_FALSE(Plot()->isChecked());
  EXPECT_FALSE(Timer()->isActive());
  ASSERT_EQ(page.Model().Series().size(), 3u);
  EXPECT_EQ(page.Model().Series()[1].title, "PS 3.3 V");

  ClickPlot("1.0");
  Sample();
  Sample();
  ClickPlot("1.0");  // released: ticks do nothing
  Sample();
  ClickPlot("1.0");
  link.script.clear();
  Sample();
  const PointRing& points = page.Model().Series()[2].points;
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[2].x, 3);
  EXPECT_EQ(points[0].y, 17);
  EXPECT_EQ(page.Model().title, "Total Time (2s)  0h:0:m:2s");

  SelectChannels({});
  EXPECT_TRUE(page.Model().Series().empty());
  EXPECT_EQ(page.Model().sampleCount, 3);  // the count and the title stay
}

TEST_F(MonitorPageTest, WindowAndFollowComeFromTheControls) {
  SelectChannels({2});
  ClickPlot("0.5");
  Find<QSpinBox>("Wind")->setValue(3);
  for (int i = 0; i < 5; ++i) Sample();
  EXPECT_EQ(page.Model().Series()[0].points.size(), 3u);

  page.ZoomBtnClick();
  const ChartRect zoomed = page.Chart()->CurrentRange();
  Find<QCheckBox>("Last")->setChecked(true);
  Sample();
  EXPECT_EQ(page.Chart()->CurrentRange().xMin, zoomed.xMin);
  EXPECT_EQ(page.Chart()->CurrentRange().xMax, 6);
}

TEST_F(MonitorPageTest, ZoomButtonsTwiceAndUndo) {
  SelectChannels({0});
  ClickPlot("0.5");
  for (int i = 0; i <= 100; ++i) {
    link.Answer(BlockOf60(i % 2 ? 10.0f : -10.0f));
    page.chartTimerTimer();
  }
  page.Model().sampleCount = 0;
  const ChartRect full = page.Chart()->CurrentRange();
  EXPECT_EQ(full.xMin, 1);
  EXPECT_EQ(full.xMax, 101);

  page.ZoomBtnClick();
  page.ZoomBtnClick();
  // The automatic vertical range had a 5 % margin: -11 to 11.
  EXPECT_EQ(full.yMin, -11);
  EXPECT_EQ(page.Chart()->CurrentRange(), (ChartRect{38.5, 63.5, -2.75, 2.75}));
  page.SpeedButton7Click();
  EXPECT_EQ(page.Chart()->CurrentRange(), full);
  page.ZoomBtnClick();
  page.SpeedButton8Click();
  EXPECT_EQ(page.Chart()->CurrentRange(), full);
  EXPECT_FALSE(page.Axes().Zoomed());
}

TEST_F(MonitorPageTest, ClearStartsAgainAtOne) {
  SelectChannels({4});
  ClickPlot("0.5");
  Sample();
  Sample();
  page.SetOffsetsBtnClick();
  page.chartResetClick();
  EXPECT_TRUE(page.Model().Series()[0].points.empty());
  Sample();
  EXPECT_EQ(page.Model().Series()[0].points[0].x, 1);
  EXPECT_EQ(page.Model().title, "Total Time (0s)  0h:0:m:0s");
  EXPECT_EQ(page.Model().channelOffsets[0], 4.0f);  // the pending request survived the Clear
  page.ZeroOffsetsBtnClick();
  EXPECT_EQ(page.Model().channelOffsets[0], 0.0f);
}

TEST_F(MonitorPageTest, MouseZoomPanAndUndo) {
  SelectChannels({0});
  ClickPlot("0.5");
  for (int i = 0; i < 200; ++i) {
    link.Answer(BlockOf60(static_cast<float>(i)));
    page.chartTimerTimer();
  }
  page.show();
  MonitorChart* chart = page.Chart();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
  const ChartRect full = chart->CurrentRange();
  const QRect plot = chart->PlotArea(chart->size());
  QSignalSpy viewChanged(chart, &MonitorChart::ViewChanged);

  // Left to right over the middle half of the plot.
  const QPoint from(plot.left() + plot.width() / 4, plot.top() + plot.height() / 4);
  const QPoint to(plot.left() + plot.width() * 3 / 4, plot.top() + plot.height() * 3 / 4);
  QTest::mousePress(chart, Qt::LeftButton, {}, from);
  QTest::mouseMove(chart, to);
  QTest::mouseRelease(chart, Qt::LeftButton, {}, to);
  ASSERT_TRUE(page.Axes().Zoomed());
  const ChartRect zoomed = chart->CurrentRange();
  const double span = full.xMax - full.xMin;
  EXPECT_NEAR(zoomed.xMin, full.xMin + span / 4, span / 100);
  EXPECT_NEAR(zoomed.xMax, full.xMin + span * 3 / 4, span / 100);
  EXPECT_LT(zoomed.yMax - zoomed.yMin, (full.yMax - full.yMin) * 0.6);

  // Right button held: the view moves with the mouse, keeping its span.
  QTest::mousePress(chart, Qt::RightButton, {}, to);
  QMouseEvent move(QEvent::MouseMove, QPointF(to.x() - plot.width() / 10, to.y()),
                   chart->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(chart, &move);
  QTest::mouseRelease(chart, Qt::RightButton, {}, to);
  const ChartRect panned = chart->CurrentRange();
  EXPECT_NEAR(panned.xMin - zoomed.xMin, (zoomed.xMax - zoomed.xMin) / 10, 1);
  EXPECT_DOUBLE_EQ(panned.xMax - panned.xMin, zoomed.xMax - zoomed.xMin);

  // A tiny drag is a click; right to left undoes everything.
  QTest::mousePress(chart, Qt::LeftButton, {}, from);
  QTest::mouseRelease(chart, Qt::LeftButton, {}, from + QPoint(2, 1));
  EXPECT_TRUE(page.Axes().Zoomed());
  QTest::mousePress(chart, Qt::LeftButton, {}, to);
  QTest::mouseRelease(chart, Qt::LeftButton, {}, from);
  EXPECT_FALSE(page.Axes().Zoomed());
  EXPECT_EQ(chart->CurrentRange(), full);
  EXPECT_GE(viewChanged.count(), 3);
}

// Real drags with the left button, one after the other: only the main diagonal zooms or undoes.
TEST_F(MonitorPageTest, DragDirectionJudgedByTheDiagonal) {
  SelectChannels({0});
  ClickPlot("0.5");
  for (int i = 0; i < 50; ++i) {
    link.Answer(BlockOf60(static_cast<float>(i)));
    page.chartTimerTimer();
  }
  page.show();
  MonitorChart* chart = page.Chart();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
  const QRect plot = chart->PlotArea(chart->size());
  const QPoint upperLeft(plot.left() + plot.width() / 4, plot.top() + plot.height() / 4);
  const QPoint lowerRight(plot.left() + plot.width() * 3 / 4, plot.top() + plot.height() * 3 / 4);
  const QPoint upperRight(lowerRight.x(), upperLeft.y()), lowerLeft(upperLeft.x(), lowerRight.y());
  const struct {
    const char* what;
    QPoint from, to;
    bool zoomedAfter;
  } drags[] = {
      {"lower-left to upper-right", lowerLeft, upperRight, false},
      {"upper-left to lower-right", upperLeft, lowerRight, true},
      {"straight up", lowerLeft, upperLeft, true},
      {"upper-right to lower-left", upperRight, lowerLeft, true},
      {"lower-right to upper-left", lowerRight, upperLeft, false},
  };
  for (const auto& d : drags) {
    QTest::mousePress(chart, Qt::LeftButton, {}, d.from);
    QTest::mouseMove(chart, d.to);
    QTest::mouseRelease(chart, Qt::LeftButton, {}, d.to);
    EXPECT_EQ(page.Axes().Zoomed(), d.zoomedAfter) << d.what;
  }
}

// Counts the paint events of one widget.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST_F(MonitorPageTest, ManySamplesBetweenFramesGiveOneRedraw) {
  SelectChannels({0, 1, 2});
  ClickPlot("0.5");
  page.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
  QTest::qWait(50);
  PaintCounter counter;
  page.Chart()->installEventFilter(&counter);
  for (int i = 0; i < 30; ++i) Sample();
  EXPECT_EQ(counter.paints, 0);  // nothing is drawn inside a tick
  QTest::qWait(150);
  EXPECT_GE(counter.paints, 1);
  EXPECT_LE(counter.paints, 2);
  EXPECT_EQ(page.Model().Series()[0].points.size(), 30u);
}

TEST_F(MonitorPageTest, CopyChartPutsVectorAndBitmapOnTheClipboard) {
  SelectChannels({0, 1});
  ClickPlot("0.5");
  for (int i = 0; i < 20; ++i) Sample();
  page.show();
  page.Button8Click();
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  ASSERT_TRUE(mime->hasFormat("image/svg+xml"));
  const QByteArray svg = mime->data("image/svg+xml");
  EXPECT_TRUE(svg.contains("<svg"));
  EXPECT_TRUE(svg.contains("polyline"));
  EXPECT_TRUE(svg.contains("PS 24 V"));  // the legend
  ASSERT_TRUE(mime->hasImage());
  const QImage image = qvariant_cast<QImage>(mime->imageData());
  EXPECT_EQ(image.size(), page.Chart()->size());
  // And the numbers beside the pictures: a header row and one row per sample.
  ASSERT_TRUE(mime->hasText());
  const QStringList rows = mime->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(rows.size(), 21);
  EXPECT_EQ(rows[0], QStringLiteral("Sample\tPS 24 V\tPS  12 V"));
  EXPECT_TRUE(rows[20].startsWith(QStringLiteral("20\t"))) << rows[20].toStdString();
}

}  // namespace
}  // namespace varnok
