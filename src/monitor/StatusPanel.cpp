#include "monitor/StatusPanel.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/TextConversions.h"
#include "monitor/StatusGridLayout.h"
#include "monitor/StatusPoll.h"

namespace varnok {
namespace {

constexpr int kRowHeight = 24;
const QColor kHeaderColour(0xA6, 0xCA, 0xF0);  // sky blue

QTableWidgetItem* Cell(QTableWidget* grid, int row, int column) {
  QTableWidgetItem* item = grid->item(row, column);
  if (!item) {
    item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    grid->setItem(row, column, item);
  }
  return item;
}

}  // namespace

StatusPanel::StatusPanel(InstrumentLink& link, QWidget* parent)
    : QWidget(parent), link_(link), grid_(new QTableWidget(kStatusGridRows, kStatusGridColumns, this)) {
  grid_->setObjectName("StatusGrid");
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (int column = 0; column < kStatusGridColumns; ++column) {
    grid_->setColumnWidth(column, kStatusGridColumnWidth);
  }
  for (int row = 0; row < kStatusGridRows; ++row) {
    grid_->setRowHeight(row, kRowHeight);
    for (int column = 0; column < kStatusGridColumns; ++column) Cell(grid_, row, column);
  }

  // Header and labels come from their comma lists; the labels with blanks stay whole.
  const std::vector<std::string> labels = SplitCommaList(StatusGridLabelList());
  for (int row = 0; row < kStatusGridRows && row < static_cast<int>(labels.size()); ++row) {
    Cell(grid_, row, 0)->setText(QString::fromStdString(labels[row]));
  }
  const std::vector<std::string> header = SplitCommaList(StatusGridHeaderList());
  for (int column = 0; column < kStatusGridColumns && column < static_cast<int>(header.size()); ++column) {
    QTableWidgetItem* item = Cell(grid_, 0, column);
    item->setText(QString::fromStdString(header[column]));
    item->setBackground(kHeaderColour);
    // The header's colour is fixed, so its text is too: dark on sky blue stays readable on a dark desktop.
    item->setForeground(QColor(Qt::black));
    item->setFlags(Qt::ItemIsEnabled);
  }
  const int frame = 2 * grid_->frameWidth();
  grid_->setFixedSize(kStatusGridColumns * kStatusGridColumnWidth + frame,
                      kStatusGridRows * kRowHeight + frame);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);
  layout->addStretch();
}

void StatusPanel::Timer1Timer() {
  for (const StatusCell& cell : PollStatus(link_)) {
    Cell(grid_, cell.row, 1)->setText(QString::fromStdString(cell.text));
  }
}

}  // namespace varnok
