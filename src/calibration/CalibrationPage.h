#pragma once
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calibration/CalibrationChartModel.h"
#include "calibration/CalibrationDisplay.h"
#include "calibration/CalibrationFileLoad.h"

class QCheckBox;
class QFrame;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;
class QScrollArea;
class QTableWidget;

namespace varnok {

class CalibrationChartView;
class InstrumentLink;
class TextFileView;

// The CALIBRATE tab (TabCalibrate): picks an LN2 or tip calibration result file of the working folder,
// shows its columns as a stack of charts whose horizontal zoom stays in step, or the file's text, beside
// the parameter list read from status.csv. The link serves only for the error tone and the status text.
//
// "Display Selected Files" reads the file on a thread of its own: the window stays live meanwhile, the
// panel shows the percent of bytes read, and "Cancel" stops the reading (the panel then stays open).
// A click on "Display Selected Files" while a file is being read is ignored (the button is disabled).
class CalibrationPage : public QWidget, private CalibrationDisplayTarget {
  Q_OBJECT

 public:
  CalibrationPage(InstrumentLink& link, std::filesystem::path workingFolder, QWidget* parent = nullptr);
  // Cancels a reading in progress and waits for its thread.
  ~CalibrationPage() override;

  // How files are read (tests set a small chunk, a memory figure or a pause after each chunk).
  void SetLoadOptions(CalibrationLoadOptions options) { loadOptions_ = std::move(options); }
  bool IsReading() const { return load_ != nullptr; }

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

 signals:
  // Around the reading of a file: the window shows that the program is busy.
  void workStarted();
  void workFinished();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What "Display Selected Files" does to the page.
  void RemoveCharts() override;
  std::optional<std::filesystem::path> SelectedFile() const override;
  void ErrorBeep() override;
  void ClearMemo() override;
  void SetMemoText(std::shared_ptr<const MemoText> text) override;
  void SetStatusText(const std::string& text) override;
  void BuildCharts(CalibrationPoints points) override;
  void HideSelectionPanel() override;

  void ReadingEnded();
  void ShowProgress();

  void ShowFileList(const std::string& mask);
  void ApplyRange(std::size_t k);

  InstrumentLink& link_;
  std::filesystem::path workingFolder_;
  std::string fileMask_ = "*ln2.csv";
  CalibrationLoadOptions loadOptions_;
  std::unique_ptr<BackgroundCalibrationLoad> load_;
  // The previous display's points and text, let go on the next reading's thread.
  std::vector<std::shared_ptr<const void>> retired_;
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
  QPushButton* calDisplayFile_ = nullptr;
  QProgressBar* calReadProgress_ = nullptr;
  QTimer* progressTimer_ = nullptr;
  TextFileView* calMemo_ = nullptr;
};

}  // namespace varnok
