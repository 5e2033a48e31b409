#pragma once
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CalibrationChartModel.h"
#include "CalibrationDisplay.h"

class QCheckBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QTableWidget;

namespace varnok {

class CalibrationChartView;
class InstrumentLink;
class TextFileView;

// The CALIBRATE tab (TabCalibrate): picks an LN2 or tip calibration result file of the working folder,
// shows its columns as a stack of charts whose horizontal zoom stays in step, or the file's text, beside
// the parameter list read from status.csv. The link serves only for the error tone and the status text.
class CalibrationPage : public QWidget, private CalibrationDisplayTarget {
  Q_OBJECT

 public:
  CalibrationPage(InstrumentLink& link, std::filesystem::path workingFolder, QWidget* parent = nullptr);
  ~CalibrationPage() override;

  const CalibrationChartModel& Charts() const { return charts_; }
  const std::vector<CalibrationChartView*>& ChartViews() const { return chartViews_; }
  const std::string& FileMask() const { return fileMask_; }

  // Handlers of the page's controls.
  void CalLN2Click();
  void CalTipClick();
  void CalDispCancelBtnClick();
  void CalDisplayFileClick();
  void CalResetZoomClick();
  void CalCBClick();
  // Reloads the parameter list from status.csv; throws AppError "Cannot open file status.csv" when the
  // file cannot be read (the list keeps its rows).
  void ValueListEditor1Click();
  // Chart k was zoomed: every chart takes its horizontal range cut to whole numbers.
  void CalChartZoom(std::size_t k);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What "Display Selected Files" does to the page.
  std::vector<CalibrationSeries> RemoveCharts() override;
  std::optional<std::string> SelectedFileName() const override;
  void ErrorBeep() override;
  std::shared_ptr<std::string> ClearMemo() override;
  void SetMemoText(std::shared_ptr<std::string> text) override;
  void SetStatusText(const std::string& text) override;
  void BuildCharts(std::vector<CalibrationSeries> series) override;
  void HideSelectionPanel() override;

  void ShowFileList(const std::string& mask);
  void ApplyRange(std::size_t k);

  InstrumentLink& link_;
  std::filesystem::path workingFolder_;
  std::string fileMask_ = "*ln2.csv";
  CalibrationChartModel charts_;
  std::vector<CalibrationChartView*> chartViews_;

  QLabel* panel7_ = nullptr;
  QLabel* label49_ = nullptr;
  QCheckBox* calCB_ = nullptr;
  QTableWidget* valueListEditor1_ = nullptr;
  QScrollArea* scrollBox1_ = nullptr;
  QWidget* chartStack_ = nullptr;
  QFrame* panelSelectCalFiles_ = nullptr;
  QListWidget* calFileList_ = nullptr;
  TextFileView* calMemo_ = nullptr;
};

}  // namespace varnok
