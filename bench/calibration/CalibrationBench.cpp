// Reading a long calibration campaign: a generated LN2 file of 22 columns by 1.58 million CR LF lines
// (about 330 MB), and a small file displayed after it. Figures, in one run:
//   plain read            the file's bytes in 1 MiB blocks, nothing else (the disk-cache speed)
//   number readers        the value reader (form check, then fast_float), std::from_chars and
//                         fast_float alone on the file's fields
//   parse                 the text already in memory to points, into fresh memory, on one thread and on
//                         two: the first round and the best of three
//   load                  the file read in chunks, kept for the memo, indexed and parsed, as a display does
//   display               "Display Selected Files" clicked until every chart is drawn, first and later:
//                         time (split into the reading, the charts built with the visible ones drawn, and
//                         the others drawn), the longest lateness of a 5 ms timer meanwhile, and the growth
//                         of the peak resident memory (VmHWM: the program's own pages; the page cache of
//                         the memo's private copy is the system's and not counted) over the file's size
//   after the small file  memory in use against the page's start
// Each figure carries the machine's one-minute load: other work on the machine slows every figure.
// The environment variable VARNOK_CALIBRATION_BENCH_FILE names a place to keep the generated file for
// later runs.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QListWidget>
#include <QTimer>

#include <fast_float/fast_float.h>

#include <time.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "calibration/CalibrationChartView.h"
#include "calibration/CalibrationChunkParser.h"
#include "calibration/CalibrationFileLoad.h"
#include "calibration/CalibrationFileReader.h"
#include "calibration/CalibrationNumber.h"
#include "calibration/CalibrationPage.h"
#include "calibration/CsvField.h"
#include "bench/calibration/GeneratedCalibrationFile.h"
#include "link/InstrumentLink.h"

namespace varnok {
namespace {

constexpr int kColumns = 22;
constexpr int kRows = 1580000;

class SilentLink : public InstrumentLink {
 public:
  bool IsConnected() const override { return false; }
  int SendTextCommand(std::string_view, char*) override { return -1; }
  int SendBinaryCommand(std::uint8_t, std::uint8_t, std::uint8_t*) override { return -1; }
  void ShowCommandStatus(int, const std::uint8_t*) override {}
  void SetStatusText(const std::string& text) override { std::printf("  status text: %s\n", text.c_str()); }
  void ErrorBeep() override { std::printf("  error tone\n"); }
  void Disconnect() override {}
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Resident memory now and its peak since the last reset, in bytes (Linux).
std::uint64_t StatusField(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string name;
  while (status >> name) {
    if (name == key) {
      std::uint64_t kib = 0;
      status >> kib;
      return kib * 1024;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}
std::uint64_t ResidentBytes() { return StatusField("VmRSS:"); }
std::uint64_t PeakResidentBytes() { return StatusField("VmHWM:"); }
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// Processor time of all the program's threads: on a busy machine it shows the work itself, where the
// wall clock also counts the waits for a processor.
double ProcessorSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The machine's load beside each figure: other work on the machine slows every figure down.
std::string Load() {
  std::ifstream in("/proc/loadavg");
  std::string oneMinute;
  if (!(in >> oneMinute)) return {};
  return " [load " + oneMinute + "]";
}

double Mb(std::uint64_t bytes) { return static_cast<double>(bytes) / 1e6; }

void PlainRead(const std::filesystem::path& file, std::uint64_t size) {
  std::vector<char> block(std::size_t{1} << 20);
  double best = 1e9;
  for (int round = 0; round < 3; ++round) {
    const auto start = std::chrono::steady_clock::now();
    std::FILE* in = std::fopen(file.c_str(), "rb");
    while (std::fread(block.data(), 1, block.size(), in) > 0) {
    }
    std::fclose(in);
    best = std::min(best, Seconds(start));
  }
  std::printf("plain read                %8.0f MB/s%s\n", Mb(size) / best, Load().c_str());
}

// The three readers on the same value fields, checked bit for bit against each other.
void NumberReaders(const std::string& text) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (at < text.size() && fields.size() < 4000000) {
    const std::size_t end = text.find('\n', at);
    const std::string_view line(text.data() + at, (end == std::string::npos ? text.size() : end) - at);
    at = end == std::string::npos ? text.size() : end + 1;
    if (TrimBlanksAndControls(CsvField(line, 2)) != "31") continue;
    for (int k = 3; k < 3 + kColumns; ++k) fields.push_back(TrimBlanksAndControls(CsvField(line, k)));
  }
  double sum = 0;
  std::size_t bytes = 0;
  for (std::string_view f : fields) bytes += f.size();
  const auto time = [&](const char* name, auto read) {
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
      const auto start = std::chrono::steady_clock::now();
      for (std::string_view f : fields) sum += read(f);
      best = std::min(best, Seconds(start));
    }
    std::printf("number reader %-12s %6.1f ns a field, %5.0f MB/s\n", name, best * 1e9 / fields.size(),
                Mb(bytes) / best);
  };
  time("value reader", [](std::string_view f) { return ReadCalibrationValue(f).value_or(0.0); });
  time("from_chars", [](std::string_view f) {
    double v = 0;
    std::from_chars(f.data() + (!f.empty() && f.front() == '+'), f.data() + f.size(), v);
    return v;
  });
  time("fast_float", [](std::string_view f) {
    double v = 0;
    fast_float::from_chars(f.data() + (!f.empty() && f.front() == '+'), f.data() + f.size(), v);
    return v;
  });
  std::size_t differ = 0;
  for (std::string_view f : fields) {
    const double a = ReadCalibrationValue(f).value_or(0.0);
    double b = 0, c = 0;
    std::from_chars(f.data(), f.data() + f.size(), b);
    fast_float::from_chars(f.data(), f.data() + f.size(), c);
    if (std::memcmp(&a, &b, sizeof a) != 0 || std::memcmp(&a, &c, sizeof a) != 0) ++differ;
  }
  std::printf("number readers agree bit for bit on %zu of %zu fields (checksum %.3f)\n",
              fields.size() - differ, fields.size(), sum);
}

// The text already in memory to points, into fresh memory each time: on one thread, and on two (one
// reading the first half of each 4 MiB chunk, the other the second half; a third backing the point
// memory ahead).
void Parse(const std::string& text) {
  const auto time = [&text](const char* how, auto parse) {
    double first = 0, best = 1e9, bestCpu = 1e9;
    std::size_t lines = 0;
    for (int round = 0; round < 3; ++round) {
      const auto start = std::chrono::steady_clock::now();
      const double cpu = ProcessorSeconds();
      CalibrationParseResult result = parse(text);
      const double took = Seconds(start);
      bestCpu = std::min(bestCpu, ProcessorSeconds() - cpu);
      lines = result.points.LineCount();
      if (round == 0) first = took;
      best = std::min(best, took);
    }
    std::printf(
        "parse %-19s %8.0f MB/s first, %.0f MB/s best (goal 800), %.0f MB/s of processor time "
        "(all threads; %zu lines)%s\n",
        how, Mb(text.size()) / first, Mb(text.size()) / best, Mb(text.size()) / bestCpu, lines,
        Load().c_str());
  };
  time("on one thread", [](const std::string& t) { return ParseCalibrationText(t); });
  time("on two threads", [](const std::string& t) { return ParseCalibrationTextOnTwoThreads(t); });
}

void Load(const std::filesystem::path& file, std::uint64_t size) {
  double best = 1e9, bestCpu = 1e9;
  for (int round = 0; round < 3; ++round) {
    const std::atomic<bool> cancel{false};
    std::atomic<std::uint64_t> bytesRead{0};
    const auto start = std::chrono::steady_clock::now();
    const double cpu = ProcessorSeconds();
    const CalibrationLoadResult loaded = LoadCalibrationFile(file, {}, cancel, bytesRead);
    best = std::min(best, Seconds(start));
    bestCpu = std::min(bestCpu, ProcessorSeconds() - cpu);
    if (loaded.end != LoadEnd::kRead) std::printf("load failed\n");
  }
  std::printf("load (read, keep, index, parse) %5.0f MB/s, %.0f MB/s of processor time (all threads)%s\n",
              Mb(size) / best, Mb(size) / bestCpu, Load().c_str());
}

// Clicks "Display Selected Files" on the file in row `row` and waits, with the event loop running,
// until every chart is drawn. Reports the time, the longest lateness of a 5 ms timer and the peak
// memory growth over `base`.
void DisplayFile(CalibrationPage& page, int row, const char* what, std::uint64_t fileBytes,
                 std::uint64_t base) {
  page.findChild<QAbstractButton*>("CalLN2")->click();
  page.findChild<QListWidget*>("CalFileList")->setCurrentRow(row);
  QApplication::processEvents();
  ResetPeak();
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  ticker.setInterval(5);
  QElapsedTimer sinceTick;
  qint64 longest = 0;
  QObject::connect(&ticker, &QTimer::timeout, [&] { longest = std::max(longest, sinceTick.restart() - 5); });
  const auto start = std::chrono::steady_clock::now();
  sinceTick.start();
  ticker.start();
  page.findChild<QAbstractButton*>("CalDisplayFile")->click();
  while (page.IsReading()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double read = Seconds(start);
  // The window repaints what shows through the event loop; the charts scrolled out of view are drawn
  // too, so that every chart has been drawn once.
  QApplication::processEvents();
  const double shown = Seconds(start);
  ticker.stop();
  QImage image(CalibrationChartModel::kChartWidth, CalibrationChartModel::kChartHeight, QImage::Format_RGB32);
  for (CalibrationChartView* view : page.ChartViews()) {
    if (view->PaintCount() == 0) view->render(&image);
  }
  const double took = Seconds(start);
  const std::uint64_t peak = PeakResidentBytes();
  std::printf(
      "display %-18s %6.2f s to %zu charts (read and parsed %.2f s, charts built and the visible "
      "ones drawn %.2f s, the others drawn %.2f s), longest timer lateness %lld ms, peak memory growth "
      "%.0f MB = %.2f x the file%s\n",
      what, took, page.ChartViews().size(), read, shown - read, took - shown, static_cast<long long>(longest),
      Mb(peak - base), static_cast<double>(peak - base) / static_cast<double>(fileBytes), Load().c_str());
}

}  // namespace
}  // namespace varnok

int main(int argc, char** argv) {
  using namespace varnok;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);

  std::random_device random;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("varnok-calibration-bench-" + std::to_string(random()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path big = folder / "20261209_campaign_ln2.csv";
  const std::filesystem::path small = folder / "20261210_short_ln2.csv";
  if (const char* given = std::getenv("VARNOK_CALIBRATION_BENCH_FILE"); given && *given) {
    // Generated there once and kept for later runs.
    if (!std::filesystem::exists(given)) bench::WriteCalibrationFile(given, kColumns, kRows);
    std::filesystem::create_symlink(std::filesystem::absolute(given), big);
  } else {
    bench::WriteCalibrationFile(big, kColumns, kRows);
  }
  bench::WriteCalibrationFile(small, kColumns, 30);
  const std::uint64_t size = std::filesystem::file_size(big);
  std::printf("generated %s: %.1f MB, %d columns x %d data lines, CR LF; small file %.1f KB\n", big.c_str(),
              Mb(size), kColumns, kRows, static_cast<double>(std::filesystem::file_size(small)) / 1e3);

  PlainRead(big, size);
  {
    const std::string text = *ReadWholeFile(big);
    NumberReaders(text);
    Parse(text);
  }
  Load(big, size);

  SilentLink link;
  CalibrationPage page(link, folder);
  page.resize(1000, 760);
  page.show();
  QApplication::processEvents();
  // The rows are sorted by name: the campaign first, the short file second. The short file once first,
  // so that what the window takes for its first charts (fonts, caches) is in the start figure.
  DisplayFile(page, 1, "small file", size, ResidentBytes());
  const std::uint64_t start = ResidentBytes();
  std::printf("page showing the small file: %.0f MB in use\n", Mb(start));
  DisplayFile(page, 0, "first", size, start);
  DisplayFile(page, 0, "later", size, start);
  DisplayFile(page, 1, "small file", size, start);
  const std::uint64_t after = ResidentBytes();
  std::printf("after the small file: %.0f MB in use, %+.1f %% of the page's start\n", Mb(after),
              100.0 * (static_cast<double>(after) - static_cast<double>(start)) / static_cast<double>(start));

  std::error_code error;
  std::filesystem::remove_all(folder, error);
  return 0;
}
