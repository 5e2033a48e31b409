// The long run: the real main window samples all 22 monitor channels every 10 ms, the status poll runs,
// the command console sends a command every second, and the simulator (its own process) has a one-shot
// fault armed at random every few seconds. Every minute it prints the memory of both processes, the
// wrong replies seen so far and the longest stall of the window's event loop.
//
//   soak_bench [--minutes N] [--seconds N] [--faults a,b,c] [--seed N]
//   (run under xvfb-run or with QT_QPA_PLATFORM=offscreen; the default is 60 minutes)
//   SOAK_NO_SAMPLING=1 leaves the chart alone (only the poll and the console talk to the instrument);
//   SOAK_TRACE=1 adds the wire trace of every exchange; SOAK_DEBUG=1 prints every console log line with the
//   fault armed last before it.
//
// A wrong reply is one the console took for the answer to a request it did not answer:
// - a charted point outside the band the simulator's channel can take (every channel is a known slow
//   wave around a nominal value, or exactly zero);
// - a console reply that names another command than the one it answers (each command is "probe N"
//   with its own N, and the instrument's answer repeats it);
// - a status-grid pressure outside the simulator's pressure band.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/ConsoleApplication.h"
#include "app/FeaturePages.h"
#include "app/MainWindow.h"
#include "link/AsioLinkOpener.h"
#include "link/CommandLayer.h"
#include "link/TcpTransport.h"
#include "link/WireTrace.h"
#include "link/TunnelTransaction.h"
#include "monitor/MonitorPage.h"
#include "monitor/StatusPanel.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

template <class T>
T* Find(const QObject& root, const char* name) {
  return root.findChild<T*>(QLatin1String(name));
}

// The band each monitor channel (value 200 + k of the block) can take in the simulator: nominal value
// plus or minus its drift, with a little room for float rounding.
struct Band {
  double low;
  double high;
};
Band ChannelBand(int k) {
  auto around = [](double nominal, double amplitude) {
    return Band{nominal - amplitude - 1e-3, nominal + amplitude + 1e-3};
  };
  switch (k) {
    case 0:
      return around(24.0, 0.05);
    case 1:
      return around(12.0, 0.03);
    case 2:
      return around(8.0, 0.02);
    case 3:
      return around(5.0, 0.01);
    case 4:
      return around(5.0, 0.01);
    case 5:
      return around(3.3, 0.005);
    case 7:
      return around(0.15, 0.05);
    case 8:
      return around((1013.2 - 600.0) / 200.0, 0.005);
    case 11:
      return {0.0, 12.0};  // the fan drive follows the fan position
    case 12:
      return around(6.0, 0.1);
    case 13:
      return around(1.5, 0.02);
    case 14:
    case 15:
      return around(0.001, 0.0005);
    case 17:
      return around(301.2, 0.4);
    case 18:
      return around(301.3, 0.4);
    case 19:
      return around(299.5, 0.3);
    case 20:
      return around(299.7, 0.3);
    default:
      return {0.0, 0.0};  // channels the instrument does not fill read exactly 0
  }
}

long RssKiB(pid_t pid) {
  std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

struct Options {
  int seconds = 3600;
  unsigned seed = 1;
  std::vector<std::string> faults = {
      "noreply",    "late-id",       "exception",       "split",      "short:3",   "short:8",
      "close",      "banner",        "stale:2",         "stale:4",    "short:9",   "short:10",
      "split:5:50", "split:11:3900", "stale-exception", "lenbyte:16", "delay:4500"};
};

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    const std::string value = argv[i + 1];
    if (arg == "--minutes") o.seconds = std::stoi(value) * 60;
    if (arg == "--seconds") o.seconds = std::stoi(value);
    if (arg == "--seed") o.seed = static_cast<unsigned>(std::stoul(value));
    if (arg == "--faults") {
      o.faults.clear();
      std::stringstream list(value);
      for (std::string f; std::getline(list, f, ',');) o.faults.push_back(f);
    }
  }
  return o;
}

// The simulator as a child process on a free port.
struct SimProcess {
  pid_t pid = 0;
  int port = 0;
  FILE* out = nullptr;
  SimProcess() {
    out = popen((std::string(VARNOK_SIM_PATH) + " --tcp-port 0 & echo PID $!").c_str(), "r");
    char line[256];
    while (out && (port == 0 || pid == 0) && std::fgets(line, sizeof line, out)) {
      std::sscanf(line, "TCP port: %d", &port);
      std::sscanf(line, "PID %d", &pid);
    }
  }
  ~SimProcess() {
    if (pid) ::kill(pid, SIGTERM);
    if (out) pclose(out);
  }
};

// A second connection to the simulator, for "sim fault FORM" (faults never act on it).
class FaultArmer {
 public:
  explicit FaultArmer(int port) : tcp_(varnok::TcpTransport::Connect("127.0.0.1", port, 2000ms)) {}
  bool Arm(const std::string& form) {
    if (!tcp_) return false;
    const std::string text = "sim fault " + form;
    const std::vector<std::uint8_t> data(text.begin(), text.end());
    std::vector<std::uint8_t> reply(varnok::kTunnelResponseRoom, 0);
    const int n = varnok::TunnelTransaction(tcp_.get(), counter_, 0, 128, data, reply.data(), 2000ms);
    return n >= 2 && std::string(reinterpret_cast<char*>(reply.data()), 2) == "OK";
  }

 private:
  std::unique_ptr<varnok::TcpTransport> tcp_;
  varnok::TransactionCounter counter_;
};

struct Tally {
  long long points = 0;  // charted points checked
  long long wrongPoints = 0;
  long long consoleReplies = 0;
  long long consoleFailures = 0;
  long long wrongConsole = 0;
  long long pollChecks = 0;
  long long wrongPoll = 0;
  long long faultsArmed = 0;
  long long faultsRefused = 0;
  long long reconnects = 0;
  long long wrong() const { return wrongPoints + wrongConsole + wrongPoll; }
};

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  varnok::ConsoleApplication app(argc, argv);
  const fs::path folder = fs::temp_directory_path() / ("varnok-soak-" + std::to_string(::getpid()));
  fs::create_directories(folder);

  SimProcess sim;
  if (sim.port == 0 || sim.pid == 0) {
    std::printf("could not start the simulator\n");
    return 1;
  }
  varnok::MainWindowSetup setup;
  setup.settingsPath = folder / "soak.INI";
  setup.workingFolder = folder;
  setup.installPages = [](varnok::MainWindow& w) { varnok::InstallFeaturePages(w); };
  // SOAK_TRACE=1: the wire trace of every exchange on standard output.
  std::unique_ptr<varnok::WireTrace> wireTrace;
  std::unique_ptr<varnok::AsioLinkOpener> tracedOpener;
  if (std::getenv("SOAK_TRACE")) {
    wireTrace = std::make_unique<varnok::WireTrace>(
        [](const std::string& line) { std::printf("trace: %s\n", line.c_str()); });
    tracedOpener = std::make_unique<varnok::AsioLinkOpener>(setup.timeouts, wireTrace->TransportTrace());
    setup.opener = tracedOpener.get();
  }
  auto window = std::make_unique<varnok::MainWindow>(std::move(setup));
  if (wireTrace) window->Commands().SetWireTrace(wireTrace.get());
  window->resize(970, 640);
  window->show();

  auto* connectBtn = Find<QToolButton>(*window, "ConnectBtn");
  auto* monitor = window->findChild<varnok::MonitorPage*>();
  auto* statusPanel = window->findChild<varnok::StatusPanel*>();
  auto* console = Find<QWidget>(*window, "Form2");
  if (!connectBtn || !monitor || !console) {
    std::printf("the main window lacks its connect button, monitor page or console\n");
    return 1;
  }
  auto* consoleCommand = Find<QComboBox>(*console, "IP");
  auto* consoleExecute = Find<QPushButton>(*console, "exeBtn");
  auto* consoleLog = Find<QPlainTextEdit>(*console, "Memo1");
  auto* plotBtn = Find<QToolButton>(*monitor, "PlotBtn");
  Find<QComboBox>(*window, "IP")->setEditText(QString("127.0.0.1:%1").arg(sim.port));
  auto* list = Find<QListWidget>(*monitor, "ListBox1");
  for (int row = 0; row < list->count(); ++row) list->item(row)->setSelected(true);
  monitor->Draw1Click();
  Find<QLineEdit>(*monitor, "chartTS")->setText("0.01");
  console->show();

  FaultArmer armer(sim.port);
  std::mt19937 random(options.seed);
  Tally tally;
  QElapsedTimer clock;
  clock.start();

  // The 5 ms meter of the event loop's stalls.
  qint64 last = clock.nsecsElapsed();
  qint64 minuteStall = 0, longestStall = 0;
  std::string lastFault = "-", minuteStallFault = "-", longestStallFault = "-";
  QTimer meter;
  meter.setTimerType(Qt::PreciseTimer);
  meter.setInterval(5);
  QObject::connect(&meter, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    if (now - last > minuteStall) {
      minuteStall = now - last;
      minuteStallFault = lastFault;
    }
    last = now;
  });
  meter.start();

  // Keeps the link up and the chart sampling, as a technician would press the buttons again.
  QTimer keeper;
  keeper.setInterval(1000);
  QObject::connect(&keeper, &QTimer::timeout, [&] {
    if (!connectBtn->isChecked()) {
      connectBtn->click();
      ++tally.reconnects;
    }
    if (connectBtn->isChecked() && !plotBtn->isChecked() && !std::getenv("SOAK_NO_SAMPLING"))
      plotBtn->click();
  });

  // Checks every point charted since the last look against its channel's band.
  double checkedX = -1;
  QTimer pointCheck;
  pointCheck.setInterval(200);
  QObject::connect(&pointCheck, &QTimer::timeout, [&] {
    const auto& model = monitor->Model();
    const auto& series = model.Series();
    double newest = checkedX;
    for (std::size_t i = 0; i < series.size() && static_cast<int>(i) < model.selectedCount; ++i) {
      const Band band = ChannelBand(model.selectedChannels[i]);
      const auto& points = series[i].points;
      for (std::size_t p = points.size(); p-- > 0;) {
        const auto point = points[p];
        if (point.x <= checkedX) break;
        ++tally.points;
        const double y = point.y + model.channelOffsets[i];
        if (!(y >= band.low && y <= band.high)) {
          ++tally.wrongPoints;
          if (tally.wrongPoints <= 10) {
            std::printf("  wrong point: channel %d sample %.0f value %g\n", model.selectedChannels[i],
                        point.x, y);
          }
        }
        newest = std::max(newest, point.x);
      }
    }
    // "Clear" or a new selection starts the sample count again.
    checkedX = model.sampleCount == 0 ? -1 : newest;
  });

  // One console command a second: "probe N", which the instrument answers "Unknown command: probe N"
  // and NOK. Clicks that come while another handler runs wait their turn, so the log holds one entry
  // per command in the order of the commands: a reply or "Error N". Each entry is judged against the
  // oldest command still unanswered; once a minute the log is judged to its end and cleared.
  long long probe = 0;
  std::deque<long long> unanswered;
  int linesJudged = 0;
  auto judgeLog = [&] {
    QTextDocument* doc = consoleLog->document();
    if (doc->isEmpty()) return;  // a cleared log still holds one empty line, which is no entry
    const int lines = doc->blockCount();
    for (; linesJudged < lines; ++linesJudged) {
      const QString line = doc->findBlockByNumber(linesJudged).text();
      if (std::getenv("SOAK_DEBUG"))
        std::printf("log: [%s] after %s\n", line.toStdString().c_str(), lastFault.c_str());
      if (line == "NOK" || line.startsWith("Torvelmandra") || line.startsWith("Enter/select")) continue;
      const long long expected = unanswered.empty() ? -1 : unanswered.front();
      if (!unanswered.empty()) unanswered.pop_front();
      if (line.startsWith("Error ")) {
        ++tally.consoleFailures;
        continue;
      }
      ++tally.consoleReplies;
      bool ok = false;
      const long long n = line.startsWith("Unknown command: probe ") ? line.mid(23).toLongLong(&ok) : -1;
      if (!ok || n != expected) {
        // Another command's reply, or one that is no probe reply at all (an empty line included).
        ++tally.wrongConsole;
        std::printf("  wrong console reply to probe %lld: [%s]\n", expected,
                    line.left(80).toStdString().c_str());
      }
    }
  };
  QTimer consoleTimer;
  consoleTimer.setInterval(1000);
  QObject::connect(&consoleTimer, &QTimer::timeout, [&] {
    judgeLog();
    ++probe;
    unanswered.push_back(probe);
    consoleCommand->setEditText(QString("probe %1").arg(probe));
    consoleExecute->click();
  });
  auto clearLog = [&] {
    judgeLog();
    Find<QPushButton>(*console, "Button2")->click();  // a technician clears the log now and then
    linesJudged = 0;
  };

  // The status grid's pressure row follows the simulator's pressure.
  QTimer pollCheck;
  pollCheck.setInterval(1000);
  QObject::connect(&pollCheck, &QTimer::timeout, [&] {
    if (!statusPanel) return;
    QTableWidget* grid = statusPanel->Grid();
    if (!grid || grid->rowCount() <= 10 || !grid->item(10, 1)) return;
    const QString text = grid->item(10, 1)->text();
    if (text.isEmpty()) return;
    ++tally.pollChecks;
    bool ok = false;
    const double value = text.section(' ', 0, 0).toDouble(&ok);
    if (!ok || std::fabs(value - 1013.2) > 1.6) {
      ++tally.wrongPoll;
      std::printf("  wrong status pressure: %s\n", text.toStdString().c_str());
    }
  });

  // A one-shot fault at a random moment, 1 to 4 seconds apart.
  QTimer faultTimer;
  faultTimer.setSingleShot(true);
  std::uniform_int_distribution<int> pause(1000, 4000);
  std::uniform_int_distribution<std::size_t> pick(0, options.faults.size() - 1);
  QObject::connect(&faultTimer, &QTimer::timeout, [&] {
    const std::string& form = options.faults[pick(random)];
    if (armer.Arm(form)) {
      lastFault = form;
      ++tally.faultsArmed;
    } else {
      ++tally.faultsRefused;
    }
    faultTimer.start(pause(random));
  });

  const long startRss = RssKiB(::getpid());
  std::printf("soak: %d s, simulator pid %d port %d, %zu fault forms, load %s\n", options.seconds, sim.pid,
              sim.port, options.faults.size(), LoadAverage().c_str());
  std::printf(
      "minute  console RSS (MiB)  simulator RSS (MiB)  samples  points checked  wrong  faults armed"
      "  longest stall (ms)  last fault armed before it  load\n");
  std::fflush(stdout);
  int minute = 0;
  QTimer report;
  report.setInterval(options.seconds < 120 ? 10000 : 60000);
  auto print = [&] {
    if (minuteStall > longestStall) {
      longestStall = minuteStall;
      longestStallFault = minuteStallFault;
    }
    std::printf("%6d  %17.1f  %19.1f  %7d  %14lld  %5lld  %12lld  %18.1f  %-26s  %s\n", ++minute,
                RssKiB(::getpid()) / 1024.0, RssKiB(sim.pid) / 1024.0, monitor->Model().sampleCount,
                tally.points, tally.wrong(), tally.faultsArmed, minuteStall / 1e6, minuteStallFault.c_str(),
                LoadAverage().c_str());
    std::fflush(stdout);
    minuteStall = 0;
  };
  QObject::connect(&report, &QTimer::timeout, [&] {
    clearLog();
    print();
  });

  QEventLoop loop;
  QTimer::singleShot(0, [&] {
    connectBtn->click();
    if (!std::getenv("SOAK_NO_SAMPLING")) plotBtn->click();
    keeper.start();
    pointCheck.start();
    consoleTimer.start();
    pollCheck.start();
    faultTimer.start(pause(random));
    report.start();
  });
  QTimer::singleShot(std::chrono::seconds(options.seconds), &loop, &QEventLoop::quit);
  loop.exec();
  judgeLog();
  print();
  std::printf("\nsummary: %d s, load at end %s\n", options.seconds, LoadAverage().c_str());
  std::printf("  console RSS %.1f MiB at start, %.1f MiB at end\n", startRss / 1024.0,
              RssKiB(::getpid()) / 1024.0);
  std::printf(
      "  points checked %lld (wrong %lld), console replies %lld (wrong %lld, failed %lld, %zu unanswered),"
      " status checks %lld (wrong %lld)\n",
      tally.points, tally.wrongPoints, tally.consoleReplies, tally.wrongConsole, tally.consoleFailures,
      unanswered.size(), tally.pollChecks, tally.wrongPoll);
  std::printf("  faults armed %lld (refused %lld), reconnects %lld, longest stall %.1f ms (after %s)\n",
              tally.faultsArmed, tally.faultsRefused, tally.reconnects, longestStall / 1e6,
              longestStallFault.c_str());
  std::printf("  wrong replies in all: %lld (goal 0)\n", tally.wrong());
  std::fflush(stdout);
  meter.stop();
  window.reset();
  fs::remove_all(folder);
  return tally.wrong() == 0 ? 0 : 2;
}
