// Reading a long calibration campaign: 100 columns by 200,000 data records.
//   PlainRead           the file's bytes in 1 MiB blocks, nothing else (the disk-cache speed)
//   StreamingParse      ReadCalibrationFile: blocks, lines, fields, numbers, series
//   WholeFileParse      what "Display Selected Files" does before the charts: whole text, then parse
//   DisplayToAllCharts  "Display Selected Files" clicked until all 100 charts are drawn (offscreen)
#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "CalibrationChartView.h"
#include "CalibrationFileReader.h"
#include "CalibrationPage.h"
#include "GeneratedCalibrationFile.h"
#include "link/InstrumentLink.h"

namespace varnok {
namespace {

constexpr int kColumns = 100;
constexpr int kRows = 200000;

std::filesystem::path g_folder;
std::filesystem::path g_file;

class SilentLink : public InstrumentLink {
 public:
  bool IsConnected() const override { return false; }
  int SendTextCommand(std::string_view, char*) override { return -1; }
  int SendBinaryCommand(std::uint8_t, std::uint8_t, std::uint8_t*) override { return -1; }
  void ShowCommandStatus(int, const std::uint8_t*) override {}
  void SetStatusText(const std::string&) override {}
  void ErrorBeep() override {}
  void Disconnect() override {}
};

void PlainRead(benchmark::State& state) {
  std::vector<char> block(std::size_t{1} << 20);
  std::size_t total = 0;
  for (auto _ : state) {
    std::FILE* file = std::fopen(g_file.c_str(), "rb");
    std::size_t got = 0;
    while ((got = std::fread(block.data(), 1, block.size(), file)) > 0) {
      total += got;
      benchmark::DoNotOptimize(block.data());
    }
    std::fclose(file);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(total));
}

// Fresh memory for every read (a first display), or the storage of the previous read filled again (every
// later display: the page hands the removed charts' storage to the reader).
void StreamingParse(benchmark::State& state) {
  const bool reuse = state.range(0) != 0;
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(g_file));
  std::size_t points = 0;
  std::vector<CalibrationSeries> spare;
  if (reuse) spare = ReadCalibrationFile(g_file)->series;
  for (auto _ : state) {
    std::optional<CalibrationParseResult> result = ReadCalibrationFile(g_file, std::size_t{1} << 20, std::move(spare));
    if (!result || result->ColumnCount() != kColumns) {
      state.SkipWithError("file not read");
      break;
    }
    points = result->series[0].size();
    state.PauseTiming();
    if (reuse) spare = std::move(result->series);
    result.reset();  // fresh memory is given back outside the timing
    state.ResumeTiming();
  }
  state.SetBytesProcessed(size * state.iterations());
  state.counters["points_per_column"] = static_cast<double>(points);
}

void WholeFileParse(benchmark::State& state) {
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(g_file));
  for (auto _ : state) {
    std::optional<std::string> text = ReadWholeFile(g_file);
    CalibrationParseResult result = ParseCalibrationText(*text);
    benchmark::DoNotOptimize(result.series.data());
  }
  state.SetBytesProcessed(size * state.iterations());
}

// From the click on "Display Selected Files" until all 100 charts are drawn. The first display of a page
// reads into fresh memory; later ones refill the storage of the charts they replace.
void DisplayToAllCharts(benchmark::State& state) {
  const bool again = state.range(0) != 0;
  SilentLink link;
  CalibrationPage page(link, g_folder);
  page.resize(1000, 760);
  page.show();
  QApplication::processEvents();
  auto* list = page.findChild<QListWidget*>("CalFileList");
  auto* display = page.findChild<QAbstractButton*>("CalDisplayFile");
  page.findChild<QAbstractButton*>("CalLN2")->click();
  QImage image(CalibrationChartModel::kChartWidth, CalibrationChartModel::kChartHeight, QImage::Format_RGB32);
  if (again) {
    list->setCurrentRow(0);
    display->click();
    page.findChild<QAbstractButton*>("CalLN2")->click();
  }
  for (auto _ : state) {
    list->setCurrentRow(0);
    display->click();
    for (CalibrationChartView* view : page.ChartViews()) view->render(&image);
    const QImage shown = page.grab().toImage();  // the visible part of the page as the screen gets it
    benchmark::DoNotOptimize(shown.constBits());
    if (page.ChartViews().size() != kColumns) state.SkipWithError("charts missing");
    state.PauseTiming();
    page.findChild<QAbstractButton*>("CalLN2")->click();  // the panel again, for the next round
    state.ResumeTiming();
  }
}

}  // namespace
}  // namespace varnok

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);

  std::random_device random;
  varnok::g_folder = std::filesystem::temp_directory_path() / ("varnok-calibration-bench-" + std::to_string(random()));
  std::filesystem::create_directories(varnok::g_folder);
  varnok::g_file = varnok::g_folder / "20261209_campaign_ln2.csv";
  // A file generated by an earlier run can be named to skip the generation (when profiling).
  if (const char* given = std::getenv("VARNOK_CALIBRATION_BENCH_FILE"); given && std::filesystem::exists(given)) {
    std::filesystem::copy_file(given, varnok::g_file);
  } else {
    varnok::bench::WriteCalibrationFile(varnok::g_file, varnok::kColumns, varnok::kRows);
  }
  std::printf("generated %s: %.1f MB, %d columns x %d data records\n", varnok::g_file.c_str(),
              static_cast<double>(std::filesystem::file_size(varnok::g_file)) / 1e6, varnok::kColumns,
              varnok::kRows);

  benchmark::RegisterBenchmark("PlainRead", varnok::PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark("StreamingParse", varnok::StreamingParse)
      ->ArgName("reuse")
      ->Arg(0)
      ->Arg(1)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("WholeFileParse", varnok::WholeFileParse)->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark("DisplayToAllCharts", varnok::DisplayToAllCharts)
      ->ArgName("again")
      ->Arg(0)
      ->Arg(1)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(1)
      ->Repetitions(3);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::error_code error;
  std::filesystem::remove_all(varnok::g_folder, error);
  return 0;
}
