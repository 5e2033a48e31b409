#include "link/GatedHandler.h"
#include "monitor/MonitorPage.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/TextConversions.h"
#include "monitor/ChannelTable.h"
#include "monitor/ChartPeriod.h"
#include "monitor/MonitorChart.h"
#include "monitor/SampleTick.h"
#include "monitor/ToolIcons.h"
#include "core/GuardedHandler.h"

namespace varnok {
namespace {

const char* const kHelpLines[] = {
    "Using Chart",
    "",
    "To zoom: select area from left-upper to right-bottom.",
    "To unzoom: select area from right-upper to left-bottom.",
    "",
    "To move: hold right button and move.",
    "",
    "To add new commands to chart: type command, then click Set Variables. ",
    "It will be added to the list. ",
    "To remove variable, select it, mouse Right Click and Clieck Delete.",
    "",
    "Set offsets: remembers currecnt value of variables as offsets. ",
    "Subtracts this offset from read value. Equivalent to AC switch on the scope.",
    "",
    "|<---   adds points to the right side when graph is zoomed. ",
};

template <typename Widget>
Widget* Named(Widget* widget, const char* name, const QString& hint = {}) {
  widget->setObjectName(name);
  if (!hint.isEmpty()) widget->setToolTip(hint);
  return widget;
}

QFrame* Panel(const char* name, QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  return panel;
}

}  // namespace

MonitorPage::MonitorPage(InstrumentLink& link, QWidget* parent)
    : QWidget(parent), link_(link), alertSound_([] { QApplication::beep(); }) {
  setObjectName("MonitorPage");  // the tab sheet holding it is TabMonitor
  model_.ZeroOffsets();

  chartTimer_ = new QTimer(this);
  chartTimer_->setObjectName("chartTimer");
  chartTimer_->setInterval(500);
  connect(chartTimer_, &QTimer::timeout, this,
          Guarded(GatedTick(link_, chartTimer_, this, &MonitorPage::chartTimerTimer)));

  auto* header = Panel("Panel6", this);
  auto* headerLayout = new QHBoxLayout(header);
  headerLayout->setContentsMargins(8, 2, 8, 2);
  auto* caption = new QLabel("Monitor", header);
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);
  headerLayout->addWidget(caption);
  headerLayout->addStretch();

  auto* body = new QHBoxLayout;
  body->setContentsMargins(0, 0, 0, 0);
  body->addWidget(BuildChannelPanel());
  body->addWidget(BuildPages(), 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(header);
  layout->addLayout(body, 1);

  chartTimer_->start();
}

QWidget* MonitorPage::BuildChannelPanel() {
  auto* panel = Panel("Panel16", this);
  panel->setFixedWidth(190);
  auto* layout = new QVBoxLayout(panel);
  layout->addWidget(Named(new QLabel("Select and right click", panel), "Label34"));

  channelList_ = Named(new QListWidget(panel), "ListBox1",
                       "Select Items and Right Click to Draw. Use CTRL or Shift for multiple selection. ");
  channelList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (const std::string& name : MonitorChannelNames()) channelList_->addItem(QString::fromStdString(name));
  channelMenu_ = Named(new QMenu(channelList_), "PopupMenu2");
  QAction* draw = channelMenu_->addAction("Add to selection");
  draw->setObjectName("Draw1");
  connect(draw, &QAction::triggered, this, Guarded(Gated(link_, this, &MonitorPage::Draw1Click)));
  channelList_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(channelList_, &QWidget::customContextMenuRequested, this, Guarded([this](const QPoint& at) {
            channelMenu_->popup(channelList_->viewport()->mapToGlobal(at));
          }));
  layout->addWidget(channelList_, 1);

  auto* setOffsets =
      Named(new QPushButton("Set offsets", panel), "SetOffsetsBtn", "Remember current value as offset");
  auto* zeroOffsets = Named(new QPushButton("Zero offsets", panel), "ZeroOffsetsBtn", "Zero offset");
  auto* copy =
      Named(new QPushButton("Copy Chart", panel), "Button8", "Copy Chart to Clipboard. Use CtrlV to paste.");
  connect(setOffsets, &QPushButton::clicked, this,
          Guarded(Gated(link_, this, &MonitorPage::SetOffsetsBtnClick)));
  connect(zeroOffsets, &QPushButton::clicked, this,
          Guarded(Gated(link_, this, &MonitorPage::ZeroOffsetsBtnClick)));
  connect(copy, &QPushButton::clicked, this, Guarded(this, &MonitorPage::Button8Click));
  layout->addWidget(setOffsets);
  layout->addWidget(zeroOffsets);
  layout->addWidget(copy);
  return panel;
}

QWidget* MonitorPage::BuildToolbar() {
  auto* bar = Panel("Panel11", this);
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(4, 2, 4, 2);

  layout->addWidget(Named(new QLabel("Timer (s)", bar), "Label32"));
  timeStep_ =
      Named(new QLineEdit("0.5", bar), "chartTS", "X time scale (s)\nUse 0.xx format for valuse < 1 sec.");
  timeStep_->setFixedWidth(60);
  layout->addWidget(timeStep_);

  plotButton_ = Named(new QToolButton(bar), "PlotBtn", "Set chart timer\nand plot data.");
  plotButton_->setCheckable(true);
  plotButton_->setIcon(ToolIcon(ToolGlyph::Plot));
  connect(plotButton_, &QToolButton::clicked, this, Guarded(Gated(link_, this, &MonitorPage::PlotBtnClick)));
  layout->addWidget(plotButton_);

  auto* clear = Named(new QPushButton("Clear", bar), "chartReset", "Reset Chart. \nZero time.");
  connect(clear, &QPushButton::clicked, this, Guarded(Gated(link_, this, &MonitorPage::chartResetClick)));
  layout->addWidget(clear);

  struct Tool {
    const char* name;
    const char* hint;
    ToolGlyph glyph;
    void (MonitorPage::*handler)();
  };
  const Tool tools[] = {
      {"ZoomBtn", "Zoom 125%\nUse left to right mouse select to zoom.", ToolGlyph::ZoomIn,
       &MonitorPage::ZoomBtnClick},
      {"SpeedButton7", "Unzoom 75%\nUse right-to-left mouse select to unzoom.", ToolGlyph::ZoomOut,
       &MonitorPage::SpeedButton7Click},
      {"SpeedButton8", "Undo Zoom", ToolGlyph::UndoZoom, &MonitorPage::SpeedButton8Click},
  };
  for (const Tool& tool : tools) {
    auto* button = Named(new QToolButton(bar), tool.name, tool.hint);
    button->setIcon(ToolIcon(tool.glyph));
    connect(button, &QToolButton::clicked, this, Guarded(this, tool.handler));
    layout->addWidget(button);
  }

  last_ = Named(new QCheckBox("-->|", bar), "Last", "Last Points");
  last_->setLayoutDirection(Qt::RightToLeft);  // caption left of the box
  layout->addWidget(last_);

  layout->addWidget(Named(new QLabel("Number of Points", bar), "Label33"));
  window_ = Named(new QSpinBox(bar), "Wind", "Maximum points in graph.");
  window_->setRange(1, 100000);
  window_->setValue(5000);
  layout->addWidget(window_);
  layout->addStretch();
  return bar;
}

QWidget* MonitorPage::BuildPages() {
  auto* pages = new QWidget(this);
  pages->setObjectName("PageControl2");
  auto* layout = new QVBoxLayout(pages);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);

  auto* tabs = new QHBoxLayout;
  auto* stack = new QStackedWidget(pages);
  auto* group = new QButtonGroup(pages);
  const char* captions[] = {"Chart", "Help"};
  for (int i = 0; i < 2; ++i) {
    auto* tab = new QToolButton(pages);
    tab->setText(captions[i]);
    tab->setCheckable(true);
    tab->setAutoRaise(true);  // pages shown as flat buttons
    tab->setChecked(i == 0);
    group->addButton(tab, i);
    tabs->addWidget(tab);
  }
  tabs->addStretch();
  connect(group, &QButtonGroup::idClicked, stack, &QStackedWidget::setCurrentIndex);
  layout->addLayout(tabs);

  auto* chartSheet = new QWidget(stack);
  chartSheet->setObjectName("TabSheet2");
  auto* chartLayout = new QVBoxLayout(chartSheet);
  chartLayout->setContentsMargins(0, 0, 0, 0);
  chartLayout->addWidget(BuildToolbar());
  chart_ = new MonitorChart(model_, axes_, chartSheet);
  chartLayout->addWidget(chart_, 1);
  stack->addWidget(chartSheet);

  auto* helpSheet = new QWidget(stack);
  helpSheet->setObjectName("TabSheet3");
  auto* helpLayout = new QVBoxLayout(helpSheet);
  helpLayout->setContentsMargins(0, 0, 0, 0);
  auto* help = Named(new QPlainTextEdit(helpSheet), "Memo3");
  help->setReadOnly(true);
  help->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QStringList lines;
  for (const char* line : kHelpLines) lines << QString::fromUtf8(line);
  help->setPlainText(lines.join('\n'));
  helpLayout->addWidget(help);
  stack->addWidget(helpSheet);

  layout->addWidget(stack, 1);
  return pages;
}

void MonitorPage::PlotBtnClick() {
  const double seconds = ParseNumberText(timeStep_->text().toStdString());
  if (!link_.IsConnected()) {
    plotButton_->setChecked(false);
    emit SecondPanelText("You are not connected!");
    alertSound_();
    chartTimer_->stop();
    return;
  }
  if (!plotButton_->isChecked()) return;
  if (const std::optional<int> period = ChartPeriodMs(seconds)) {
    chartTimer_->start(*period);
    return;
  }
  alertSound_();
  emit SecondPanelText(" Too small value. Must >= 0.01 s");
  plotButton_->setChecked(false);
}

void MonitorPage::chartTimerTimer() {
  const SampleTickSettings settings{plotButton_->isChecked(), chartTimer_->interval(), window_->value(),
                                    last_->isChecked()};
  switch (RunSampleTick(model_, axes_, link_, settings)) {
    case SampleTickOutcome::Paused:
      return;
    case SampleTickOutcome::NotConnected:
      plotButton_->setChecked(false);
      return;
    case SampleTickOutcome::Sampled:
      chart_->DataChanged();
      return;
  }
}

void MonitorPage::ShowSettings(const MainWindowSettings& stored) {
  window_->setValue(stored.chartWindow);
  timeStep_->setText(QString::fromStdString(stored.chartTimer));
  last_->setChecked(stored.chartLast);
}

void MonitorPage::TakeSettings(MainWindowSettings& settings) const {
  settings.chartWindow = window_->value();
  settings.chartTimer = timeStep_->text().toStdString();
  settings.chartLast = last_->isChecked();
}

void MonitorPage::StartPictureReadings() {
  channelList_->clearSelection();
  for (int row : {0, 1, 2, 17, 18}) {
    if (row < channelList_->count()) channelList_->item(row)->setSelected(true);
  }
  Draw1Click();
  pictureTimeStep_ = timeStep_->text();
  pictureReadings_ = true;
  timeStep_->setText(QStringLiteral("0.1"));
  plotButton_->click();
}

void MonitorPage::StopPictureReadings() {
  if (!pictureReadings_) return;
  pictureReadings_ = false;
  timeStep_->setText(pictureTimeStep_);
}

void MonitorPage::Draw1Click() {
  plotButton_->setChecked(false);
  chartTimer_->stop();
  std::vector<int> channels;
  const int rows = std::min(channelList_->count(), SamplingModel::kMaxSeries);
  for (int row = 0; row < rows; ++row) {
    if (channelList_->item(row)->isSelected()) channels.push_back(row);
  }
  model_.Select(channels);
  chart_->updateGeometry();
  chart_->DataChanged();
}

void MonitorPage::SetOffsetsBtnClick() { model_.RequestOffsets(); }

void MonitorPage::ZeroOffsetsBtnClick() { model_.ZeroOffsets(); }

void MonitorPage::chartResetClick() {
  model_.Clear();
  chart_->DataChanged();
}

void MonitorPage::ZoomBtnClick() {
  axes_.ZoomIn(chart_->CurrentRange());
  chart_->DataChanged();
}

void MonitorPage::SpeedButton7Click() {
  axes_.Undo();
  chart_->DataChanged();
}

void MonitorPage::SpeedButton8Click() {
  axes_.Undo();
  chart_->DataChanged();
}

void MonitorPage::Button8Click() { chart_->CopyToClipboard(); }

}  // namespace varnok
