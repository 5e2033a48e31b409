#pragma once
#include <QWidget>

#include <functional>

#include "core/ShellPage.h"
#include "link/InstrumentLink.h"
#include "monitor/ChartAxes.h"
#include "monitor/SamplingModel.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QSpinBox;
class QTimer;
class QToolButton;
class QPushButton;

namespace varnok {

class MonitorChart;

// The MONITOR page: pick housekeeping channels, sample them at a chosen period and watch them as
// lines over the sample number, like a slow oscilloscope.
class MonitorPage : public QWidget, public ShellPage {
  Q_OBJECT

 public:
  explicit MonitorPage(InstrumentLink& link, QWidget* parent = nullptr);

  // The system's default alert sound; tests count it.
  void SetAlertSound(std::function<void()> alert) { alertSound_ = std::move(alert); }

  SamplingModel& Model() { return model_; }
  ChartAxes& Axes() { return axes_; }
  MonitorChart* Chart() const { return chart_; }

  // The chart's settings (section Chart): Window, Timer and Last.
  void ShowSettings(const MainWindowSettings& stored) override;
  void TakeSettings(MainWindowSettings& settings) const override;
  // Five housekeeping channels sampled ten times a second; the technician's time step is put back after.
  void StartPictureReadings() override;
  void StopPictureReadings() override;

 signals:
  // A message for the second panel of the main window's status bar.
  void SecondPanelText(const QString& text);

 public slots:
  // Runs after the click has toggled PlotBtn. A time step that is not a number throws AppError.
  void PlotBtnClick();
  void chartTimerTimer();
  void Draw1Click();
  void SetOffsetsBtnClick();
  void ZeroOffsetsBtnClick();
  void chartResetClick();
  void ZoomBtnClick();
  void SpeedButton7Click();
  void SpeedButton8Click();
  void Button8Click();

 private:
  QWidget* BuildChannelPanel();
  QWidget* BuildPages();
  QWidget* BuildToolbar();

  InstrumentLink& link_;
  SamplingModel model_;
  ChartAxes axes_;
  std::function<void()> alertSound_;

  QListWidget* channelList_ = nullptr;
  QMenu* channelMenu_ = nullptr;
  QLineEdit* timeStep_ = nullptr;
  QToolButton* plotButton_ = nullptr;
  QCheckBox* last_ = nullptr;
  QSpinBox* window_ = nullptr;
  QTimer* chartTimer_ = nullptr;
  MonitorChart* chart_ = nullptr;
  QString pictureTimeStep_;  // the time step the technician had before the picture readings
  bool pictureReadings_ = false;
};

}  // namespace varnok
