#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <QTableWidget>

#include "tests/monitor/MonitorLink.h"
#include "monitor/StatusPanel.h"

namespace varnok {
namespace {

using testing::FloatBytes;
using testing::MonitorLink;

QString Text(QTableWidget* grid, int row, int column) {
  QTableWidgetItem* item = grid->item(row, column);
  return item ? item->text() : QString();
}

TEST(StatusPanel, GridLabelsHeaderAndLook) {
  MonitorLink link;
  StatusPanel panel(link);
  auto* grid = panel.findChild<QTableWidget*>("StatusGrid");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->rowCount(), 15);
  EXPECT_EQ(grid->columnCount(), 2);
  EXPECT_EQ(grid->columnWidth(0), 200);
  EXPECT_EQ(grid->columnWidth(1), 200);
  EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(Text(grid, 0, 0), "Mesurement");
  EXPECT_EQ(Text(grid, 0, 1), "Value");
  EXPECT_EQ(Text(grid, 5, 0), "Rcvr0 TkND:");
  EXPECT_EQ(Text(grid, 13, 0), "LN2 Calibration");
  EXPECT_NE(grid->item(0, 1)->background().color(), grid->item(1, 1)->background().color());
  for (int row = 1; row < 15; ++row) EXPECT_EQ(Text(grid, row, 1), "") << row;
}

// Contrast ratio of two colours (1 to 21) from their relative luminance.
double Contrast(const QColor& a, const QColor& b) {
  auto luminance = [](const QColor& c) {
    auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The sky-blue header keeps its colour on a dark desktop, so its text must stay readable on it, while
// the other rows take both colours from the palette.
TEST(StatusPanel, HeaderReadableUnderADarkPalette) {
  QPalette dark;
  for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
    dark.setColor(role, QColor(0x20, 0x20, 0x22));
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    dark.setColor(role, QColor(0xE6, 0xE6, 0xE6));
  MonitorLink link;
  StatusPanel panel(link);
  panel.setPalette(dark);
  auto* grid = panel.findChild<QTableWidget*>("StatusGrid");
  ASSERT_NE(grid, nullptr);
  for (int column = 0; column < 2; ++column) {
    const QTableWidgetItem* header = grid->item(0, column);
    const QColor text = header->foreground().style() == Qt::NoBrush ? grid->palette().color(QPalette::Text)
                                                                    : header->foreground().color();
    EXPECT_GE(Contrast(text, header->background().color()), 4.5) << column;
    const QTableWidgetItem* row = grid->item(5, column);
    EXPECT_EQ(row->foreground().style(), Qt::NoBrush) << "an ordinary row takes the palette's text colour";
  }
}

TEST(StatusPanel, TickWritesValuesAndKeepsThemWhenStepsFail) {
  MonitorLink link;
  StatusPanel panel(link);
  QTableWidget* grid = panel.Grid();

  link.connected = false;
  panel.Timer1Timer();
  EXPECT_TRUE(link.sent.empty());

  link.connected = true;
  std::vector<float> block(60, 0.0f);
  block[26] = 1013.25f;
  link.Answer({0, 12, 7, 12, 14, 5, 9});
  link.Answer(FloatBytes(block));
  link.Answer(FloatBytes({45.0f, -3.1f, 0, 0}));
  link.Answer(FloatBytes({280.0f}));
  panel.Timer1Timer();
  EXPECT_EQ(Text(grid, 1, 1), "12/07/2012  14:05:09  UTC");
  EXPECT_EQ(Text(grid, 3, 1), "Stopped");
  EXPECT_EQ(Text(grid, 10, 1), "1013.25 mbar");
  EXPECT_EQ(Text(grid, 8, 1), "-3.10 C");
  EXPECT_EQ(Text(grid, 11, 1), "280.00 K");

  // Everything fails: the grid keeps the last texts.
  panel.Timer1Timer();
  EXPECT_EQ(Text(grid, 1, 1), "12/07/2012  14:05:09  UTC");
  EXPECT_EQ(Text(grid, 10, 1), "1013.25 mbar");
  for (int row : {2, 13, 14}) EXPECT_EQ(Text(grid, row, 1), "") << row;
  EXPECT_EQ(link.sent.size(), 8u);
}

}  // namespace
}  // namespace varnok
