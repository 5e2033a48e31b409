// The monitor chart at its limits: 23 series of 100,000 points, sampled as fast as the timer allows.
// Prints the median and worst cost of one sample tick and of one full redraw at 1000 x 600 pixels,
// the same data drawn by a plain QtCharts line series without reduction, and the memory per point.
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <vector>

#include "monitor/MonitorChart.h"
#include "monitor/SampleTick.h"
#include "monitor/SamplingModel.h"

namespace {

using Clock = std::chrono::steady_clock;

// An instrument that answers every value block at once with slowly drifting, noisy values.
class InstantInstrument : public varnok::InstrumentLink {
 public:
  bool IsConnected() const override { return true; }
  int SendTextCommand(std::string_view, char* reply) override {
    reply[0] = '\0';
    return -1;
  }
  int SendBinaryCommand(std::uint8_t, std::uint8_t, std::uint8_t* data) override {
    ++sample_;
    for (int k = 0; k < 60; ++k) {
      const float value = static_cast<float>(k + 5 * std::sin(sample_ * 0.0007 * (k + 1)) +
                                             0.3 * std::sin(sample_ * 1.7 + k));
      std::memcpy(data + 4 * k, &value, 4);
    }
    return 240;
  }
  void ShowCommandStatus(int, const std::uint8_t*) override {}
  void SetStatusText(const std::string&) override {}
  void ErrorBeep() override {}
  void Disconnect() override {}

 private:
  long sample_ = 0;
};

// Wall-clock and processor time of this thread: the machine is shared, and the processor time
// shows the cost without the waits for other programs.
struct Figures {
  double median = 0;
  double worst = 0;
  double cpuMedian = 0;
  double cpuWorst = 0;
};

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

Figures Measure(int runs, const std::function<void()>& run) {
  std::vector<double> ms;
  std::vector<double> cpu;
  ms.reserve(runs);
  cpu.reserve(runs);
  for (int i = 0; i < runs; ++i) {
    const double cpuStart = ThreadCpuMs();
    const auto start = Clock::now();
    run();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    cpu.push_back(ThreadCpuMs() - cpuStart);
  }
  std::sort(ms.begin(), ms.end());
  std::sort(cpu.begin(), cpu.end());
  return {ms[ms.size() / 2], ms.back(), cpu[cpu.size() / 2], cpu.back()};
}

void Print(const char* what, const Figures& f) {
  std::printf("  %-36s median %9.3f ms  worst %9.3f ms   (processor: median %9.3f ms  worst %9.3f ms)\n",
              what, f.median, f.worst, f.cpuMedian, f.cpuWorst);
}

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  constexpr int kSeries = 23;
  constexpr int kPoints = 100000;
  constexpr int kWidth = 1000;
  constexpr int kHeight = 600;

  varnok::SamplingModel model;
  varnok::ChartAxes axes;
  InstantInstrument instrument;
  std::vector<int> channels;
  for (int i = 0; i < kSeries; ++i) channels.push_back(i % 22);
  model.Select(channels);
  const varnok::SampleTickSettings settings{true, 10, kPoints, true};

  const long residentBefore = ResidentKiB();
  for (int i = 0; i < kPoints; ++i) varnok::RunSampleTick(model, axes, instrument, settings);
  const long residentAfter = ResidentKiB();
  std::size_t bytes = 0;
  std::size_t points = 0;
  for (const varnok::ChartSeries& s : model.Series()) {
    bytes += s.points.MemoryBytes();
    points += s.points.size();
  }

  varnok::MonitorChart chart(model, axes);
  chart.resize(kWidth, kHeight);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);

  // One tick: the model update and what the view does at once (it only asks for a redraw).
  const Figures tick = Measure(2000, [&] {
    varnok::RunSampleTick(model, axes, instrument, settings);
    chart.DataChanged();
  });

  // One full redraw after a new sample: every visible point reduced again, then painted.
  std::size_t drawn = 0;
  const Figures redraw = Measure(60, [&] {
    varnok::RunSampleTick(model, axes, instrument, settings);
    QPainter painter(&image);
    chart.Render(painter, image.rect());
    drawn = chart.DrawnPointCount();
  });

  const Figures reduceOnly = Measure(60, [&] {
    varnok::RunSampleTick(model, axes, instrument, settings);
    chart.CurrentRange();
  });

  const Figures paintOnly = Measure(60, [&] {
    QPainter painter(&image);
    chart.Render(painter, image.rect());
  });

  // --picture FILE keeps the last redraw, to look at.
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--picture") == 0) image.save(QString::fromLocal8Bit(argv[i + 1]));
  }

  if (argc > 1 && std::strcmp(argv[1], "--ours-only") == 0) {
    Print("full redraw (reduce + paint):", redraw);
    Print("  of which reduction:", reduceOnly);
    Print("  paint alone (nothing new):", paintOnly);
    return 0;
  }

  // The same data handed unreduced to QtCharts: one replace() per series, then one paint.
  QChart* plain = new QChart;
  std::vector<QList<QPointF>> lists(kSeries);
  for (int i = 0; i < kSeries; ++i) {
    const varnok::PointRing& ring = model.Series()[i].points;
    lists[i].reserve(static_cast<qsizetype>(ring.size()));
    for (std::size_t k = 0; k < ring.size(); ++k) lists[i].append(QPointF(ring[k].x, ring[k].y));
    auto* series = new QLineSeries;
    plain->addSeries(series);
  }
  plain->createDefaultAxes();
  plain->axes(Qt::Horizontal).first()->setRange(lists[0].first().x(), lists[0].last().x());
  plain->axes(Qt::Vertical).first()->setRange(-10, 30);
  QChartView view(plain);
  view.resize(kWidth, kHeight);
  const Figures unreduced = Measure(3, [&] {
    for (int i = 0; i < kSeries; ++i) static_cast<QLineSeries*>(plain->series()[i])->replace(lists[i]);
    QPainter painter(&image);
    view.render(&painter);
  });

  std::printf("monitor chart, %d series x %d points, %d x %d pixels\n", kSeries, kPoints, kWidth, kHeight);
  Print("sample tick (model + view update):", tick);
  Print("full redraw (reduce + paint):", redraw);
  Print("  of which reduction:", reduceOnly);
  Print("  paint alone (nothing new):", paintOnly);
  Print("unreduced QtCharts (replace + paint):", unreduced);
  std::printf("  points drawn per redraw:              %zu\n", drawn);
  std::printf("  redraw speed-up over unreduced:       %.0f x (processor time %.0f x)\n",
              unreduced.median / redraw.median, unreduced.cpuMedian / redraw.cpuMedian);
  std::printf("  storage per point:                    %.2f bytes (%zu points in %zu bytes)\n",
              static_cast<double>(bytes) / static_cast<double>(points), points, bytes);
  std::printf("  resident memory growth per point:     %.2f bytes\n",
              (residentAfter - residentBefore) * 1024.0 / static_cast<double>(points));
  return 0;
}
