// Saves pictures of the CALIBRATE page showing a generated LN2 file, before and after a zoom, and with
// the file selection open: calibration_page_snapshot <output folder>
#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QPixmap>
#include <QScrollArea>
#include <QTableWidget>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "calibration/CalibrationChartView.h"
#include "calibration/CalibrationPage.h"
#include "bench/calibration/GeneratedCalibrationFile.h"
#include "link/InstrumentLink.h"

namespace {

class SilentLink : public varnok::InstrumentLink {
 public:
  bool IsConnected() const override { return false; }
  int SendTextCommand(std::string_view, char*) override { return -1; }
  int SendBinaryCommand(std::uint8_t, std::uint8_t, std::uint8_t*) override { return -1; }
  void ShowCommandStatus(int, const std::uint8_t*) override {}
  void SetStatusText(const std::string& text) override { std::printf("status text: %s\n", text.c_str()); }
  void ErrorBeep() override { std::printf("error tone\n"); }
  void Disconnect() override {}
};

void Save(QWidget& widget, const std::filesystem::path& file) {
  QApplication::processEvents();
  widget.grab().save(QString::fromStdString(file.string()));
  std::printf("saved %s\n", file.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const std::filesystem::path out = argc > 1 ? argv[1] : ".";
  const std::filesystem::path folder = out / "calibration-snapshot-folder";
  std::filesystem::create_directories(folder);
  varnok::bench::WriteCalibrationFile(folder / "20261209_0814ln2.csv", 20, 3600);
  varnok::bench::WriteCalibrationFile(folder / "20261208_1530ln2.csv", 6, 600);
  varnok::bench::WriteCalibrationFile(folder / "20261207_tip.csv", 4, 100);
  std::ofstream(folder / "status.csv", std::ios::binary)
      << "Instrument=QX-7100A\r\nTamb=293.41\r\nTLN2=77.36\r\nGain K=12.48\r\nGain V=11.93\r\n"
         "Last LN2=2026-12-09 08:14\r\n2026-12-09,08:14:02,31,77.36,293.41\r\n";

  SilentLink link;
  varnok::CalibrationPage page(link, folder);
  page.resize(1000, 760);
  page.show();

  page.findChild<QAbstractButton*>("CalLN2")->click();
  page.findChild<QListWidget*>("CalFileList")->setCurrentRow(1);
  Save(page, out / "calibration-select.png");

  page.findChild<QAbstractButton*>("CalDisplayFile")->click();
  while (page.IsReading()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  page.ValueListEditor1Click();
  Save(page, out / "calibration-charts.png");

  varnok::CalibrationChartView* chart = page.ChartViews().at(1);
  chart->SetHorizontalRange(1800.6, 2420.3);
  page.CalChartZoom(1);
  Save(page, out / "calibration-zoomed.png");

  page.findChild<QAbstractButton*>("CalCB")->click();
  Save(page, out / "calibration-file.png");

  std::filesystem::remove_all(folder);
  return 0;
}
