// The STATUS/CONTROL grid and the MONITOR page against the in-process simulator, through the real
// command layer over loopback TCP.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <chrono>
#include <memory>

#include "tests/support/SimulatorConnection.h"
#include "monitor/MonitorChart.h"
#include "monitor/MonitorPage.h"
#include "monitor/StatusPanel.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;

class MonitorLive : public ::testing::Test {
 protected:
  void SetUp() override {
    const ConnectResult r = connection_.Connect();
    ASSERT_EQ(r.outcome, ConnectOutcome::Connected) << window_.panels[0];
  }
  static void SaveShot(QWidget& widget, const char* name) {
    widget.grab().save(QStringLiteral(MONITOR_SHOT_DIR "/%1.png").arg(name));
  }

  testing::SimulatorConnection connection_;
  testing::RecordingLinkWindow& window_ = connection_.Window();
  CommandLayer& layer_ = connection_.Layer();
};

TEST_F(MonitorLive, StatusGridShowsClockAndReadings) {
  StatusPanel panel(layer_);
  panel.Timer1Timer();
  QTableWidget* grid = panel.Grid();
  auto text = [grid](int row) { return grid->item(row, 1)->text(); };
  EXPECT_TRUE(
      QRegularExpression("^\\d\\d/\\d\\d/\\d{4}  \\d\\d:\\d\\d:\\d\\d  UTC$").match(text(1)).hasMatch())
      << text(1).toStdString();
  EXPECT_EQ(text(3), "Stopped");
  EXPECT_EQ(text(6), "304.2 K");
  for (int row : {7, 8, 9, 10, 11, 12}) {
    EXPECT_TRUE(QRegularExpression("^-?\\d+\\.\\d\\d (K|C|%|mbar|V)$").match(text(row)).hasMatch())
        << row << ": " << text(row).toStdString();
  }
  EXPECT_TRUE(text(10).endsWith(" mbar"));
  EXPECT_NEAR(text(10).section(' ', 0, 0).toDouble(), 1013, 50);
  for (int row : {2, 13, 14}) EXPECT_EQ(text(row), "") << row;
  EXPECT_EQ(window_.tones, 0);
  panel.resize(420, 380);
  SaveShot(panel, "status_panel");
}

TEST_F(MonitorLive, RealPageChartsGrowingSeries) {
  MonitorPage page(layer_);
  page.SetAlertSound([] {});
  page.resize(1000, 620);
  page.show();
  auto* list = page.findChild<QListWidget*>("ListBox1");
  for (int row : {0, 1, 2, 17, 18}) list->item(row)->setSelected(true);
  page.Draw1Click();
  ASSERT_EQ(page.Model().Series().size(), 5u);

  page.findChild<QLineEdit*>("chartTS")->setText("0.01");
  auto* plot = page.findChild<QToolButton*>("PlotBtn");
  plot->click();  // toggles, then PlotBtnClick runs
  ASSERT_TRUE(plot->isChecked());

  const PointRing& supply = page.Model().Series()[0].points;
  QElapsedTimer clock;
  clock.start();
  std::size_t seen = 0;
  int growths = 0;
  while (supply.size() < 60 && clock.elapsed() < 15000) {
    QTest::qWait(20);
    if (supply.size() > seen) {
      ++growths;
      seen = supply.size();
    }
  }
  ASSERT_GE(supply.size(), 60u) << "samples in 15 s";
  EXPECT_GT(growths, 3);  // the lines grew tick by tick while the page ran
  for (std::size_t i = 1; i < supply.size(); ++i) ASSERT_LT(supply[i - 1].x, supply[i].x);
  EXPECT_NEAR(supply.back().y, 24, 3);                             // "PS 24 V"
  EXPECT_NEAR(page.Model().Series()[3].points.back().y, 300, 30);  // "BB T0" near 300 K
  EXPECT_TRUE(page.Model().title.rfind("Total Time (", 0) == 0);
  EXPECT_EQ(window_.tones, 0);
  QTest::qWait(40);  // the redraw after the last sample
  EXPECT_GT(page.Chart()->DrawnPointCount(), 0u);
  SaveShot(page, "monitor_page");

  // Offsets: after two more samples every line shows only the change since the capture.
  page.SetOffsetsBtnClick();
  const std::size_t before = supply.size();
  while (supply.size() < before + 3 && clock.elapsed() < 20000) QTest::qWait(10);
  ASSERT_GE(supply.size(), before + 3);
  for (const ChartSeries& s : page.Model().Series()) EXPECT_NEAR(s.points.back().y, 0, 1) << s.title;

  plot->click();  // released: sampling pauses
  QTest::qWait(50);
  const std::size_t paused = supply.size();
  QTest::qWait(100);
  EXPECT_EQ(supply.size(), paused);
}

}  // namespace
}  // namespace varnok
