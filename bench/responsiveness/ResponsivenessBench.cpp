// The longest stall of the main window's event loop while it waits: a 5 ms timer runs throughout, and
// the figure is how late its latest tick came. The real main window with its real pages, against the
// simulated instrument.
//
//   responsiveness_bench            (run under Xvfb or with QT_QPA_PLATFORM=offscreen)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <asio.hpp>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "link/CommandLayer.h"
#include "app/ConsoleApplication.h"
#include "app/FeaturePages.h"
#include "app/MainWindow.h"
#include "tools/varnok-sim/SimServer.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

template <class T>
T* Find(const QObject& root, const char* name) {
  return root.findChild<T*>(QLatin1String(name));
}

// Runs the event loop for `duration` with a 5 ms timer; `action` runs at its start. Returns the longest
// time between two ticks of the timer, in milliseconds.
double LongestGap(std::chrono::milliseconds duration, const std::function<void()>& action) {
  QElapsedTimer clock;
  clock.start();
  qint64 last = clock.nsecsElapsed();
  qint64 longest = 0;
  QTimer meter;
  meter.setTimerType(Qt::PreciseTimer);
  meter.setInterval(5);
  QObject::connect(&meter, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    longest = std::max(longest, now - last);
    last = now;
  });
  meter.start();
  QEventLoop loop;
  QTimer::singleShot(0, [&] { action(); });
  QTimer::singleShot(duration, &loop, &QEventLoop::quit);
  loop.exec();
  meter.stop();
  longest = std::max(longest, clock.nsecsElapsed() - last);
  return static_cast<double>(longest) / 1e6;
}

void Settle(std::chrono::milliseconds d) {
  QEventLoop loop;
  QTimer::singleShot(d, &loop, &QEventLoop::quit);
  loop.exec();
}

struct Console {
  fs::path folder;
  std::unique_ptr<varnok::MainWindow> window;

  explicit Console(const fs::path& working) : folder(working) {
    varnok::MainWindowSetup setup;
    setup.settingsPath = folder / "bench.INI";
    setup.workingFolder = folder;
    setup.installPages = [](varnok::MainWindow& w) { varnok::InstallFeaturePages(w); };
    window = std::make_unique<varnok::MainWindow>(std::move(setup));
    window->resize(970, 640);
    window->show();
    Settle(100ms);
  }
  QToolButton* Connect() const { return Find<QToolButton>(*window, "ConnectBtn"); }
  std::string Panel(int i) const {
    return Find<QLabel>(*window, ("StatusPanel" + std::to_string(i)).c_str())->text().toStdString();
  }
  bool ConnectTo(const std::string& address) {
    Find<QComboBox>(*window, "IP")->setEditText(QString::fromStdString(address));
    Connect()->click();
    return Panel(0) == " Connected";
  }
};

void Report(const char* what, double gap, const char* goal) {
  std::printf("%-58s %9.1f ms   (goal %s)\n", what, gap, goal);
  std::fflush(stdout);
}

// A silent instrument: the status poll's tick fails (over TCP the first exchange and its retry, 4 s
// each; over serial four frames of about a second each).
void SilentPollTick(const fs::path& folder, bool serial) {
  varnok::sim::SimOptions options;
  options.tcp = !serial;
  options.tcpPort = 0;
  options.serial = serial;
  varnok::sim::SimServer sim(options);
  sim.Start();
  Console console(folder);
  const std::string address = serial ? sim.SerialPath() : "127.0.0.1:" + std::to_string(sim.TcpPort());
  if (!console.ConnectTo(address)) {
    std::printf("could not connect to %s\n", address.c_str());
    return;
  }
  sim.SetFault("noreply");
  const double gap = LongestGap(serial ? 5500ms : 9000ms, [] {});
  Report(serial ? "poll tick, silent instrument, pseudo-terminal" : "poll tick, silent instrument, TCP", gap,
         "< 16 ms");
}

// A connection attempt that is never answered: a listener whose queue is full.
void UnansweredConnect(const fs::path& folder) {
  asio::io_context io;
  asio::ip::tcp::acceptor listener(io, asio::ip::tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0));
  listener.listen(0);
  const int port = listener.local_endpoint().port();
  // Attempts that fill the listener's queue; the console's attempt after them goes unanswered.
  std::vector<int> fill;
  for (int i = 0; i < 4; ++i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    fill.push_back(fd);
  }
  Settle(200ms);
  Console console(folder);
  QElapsedTimer released;
  double toDisconnected = -1;
  const double gap = LongestGap(4000ms, [&] {
    QTimer::singleShot(3000, [&] {
      released.start();
      console.Connect()->click();  // the technician gives up
      toDisconnected = static_cast<double>(released.nsecsElapsed()) / 1e6;
    });
    Find<QComboBox>(*console.window, "IP")->setEditText(QString("127.0.0.1:%1").arg(port));
    console.Connect()->click();
  });
  for (int fd : fill) ::close(fd);
  Report("connection attempt that is never answered (3 s, then released)", gap, "< 16 ms");
  std::printf("%-58s %9.1f ms\n", "  release to \"Disonnected\"", toDisconnected);
}

// Disconnect from a peer that stopped reading while our sent bytes wait: the close lingers.
void DisconnectFromStalledPeer(const fs::path& folder) {
  FILE* out = popen((std::string(VARNOK_SIM_PATH) + " --tcp-port 0 & echo PID $!").c_str(), "r");
  if (!out) return;
  int port = 0, pid = 0;
  char line[256];
  while ((port == 0 || pid == 0) && std::fgets(line, sizeof line, out)) {
    std::sscanf(line, "TCP port: %d", &port);
    std::sscanf(line, "PID %d", &pid);
  }
  Console console(folder);
  if (port == 0 || pid == 0 || !console.ConnectTo("127.0.0.1:" + std::to_string(port))) {
    std::printf("could not start or reach the simulator\n");
    if (pid) ::kill(pid, SIGKILL);
    pclose(out);
    return;
  }
  auto* timer1 = Find<QTimer>(*console.window, "Timer1");
  timer1->stop();
  ::kill(pid, SIGSTOP);
  // Fill the kernel's buffers with bytes the stopped peer never reads.
  varnok::TcpChannel* socket = console.window->Commands().State().tcpSocket.get();
  std::vector<std::uint8_t> junk(65536, 0x20);
  long long queued = 0;
  for (int i = 0; i < 400; ++i) {
    if (!socket->WaitWritable(20ms)) break;
    const int n = socket->Send(junk.data(), junk.size());
    if (n <= 0) break;
    queued += n;
  }
  QElapsedTimer clock;
  double clickTook = -1;
  const double gap = LongestGap(1500ms, [&] {
    clock.start();
    console.Connect()->click();
    clickTook = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  });
  Report("Disconnect from a peer that stopped reading", gap, "< 50 ms");
  std::printf("%-58s %9.1f ms (%lld bytes unread)\n", "  the click itself", clickTook, queued);
  ::kill(pid, SIGCONT);
  ::kill(pid, SIGTERM);
  pclose(out);
}

// "Start" of the stand-in measurement program.
void StartStandIn(const fs::path& folder) {
  const std::string program = "QXC-bench-" + std::to_string(::getpid()) + ".exe";
  fs::copy_file(QXC_STANDIN_PATH, folder / program, fs::copy_options::overwrite_existing);
  std::ofstream(folder / "bench.prc") << "scan 1\n";
  ::setenv("QXC_STANDIN_LIFETIME_MS", "4000", 1);
  Console console(folder);
  Find<QLineEdit>(*console.window, "QXName")->setText(QString::fromStdString(program));
  auto* list = Find<QListWidget>(*console.window, "FileListBox1");
  if (list == nullptr || list->count() == 0) {
    std::printf("no procedure file listed\n");
    return;
  }
  list->setCurrentRow(0);
  const double gap = LongestGap(1500ms, [&] { Find<QPushButton>(*console.window, "PRCStartBtn")->click(); });
  Report("\"Start\" of the stand-in program", gap, "< 50 ms");
  std::system(("pkill -f " + program + " >/dev/null 2>&1").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  varnok::ConsoleApplication app(argc, argv);
  const fs::path root = fs::temp_directory_path() / ("varnok-resp-" + std::to_string(::getpid()));
  int n = 0;
  auto fresh = [&] {
    const fs::path f = root / std::to_string(n++);
    fs::create_directories(f);
    return f;
  };
  // A scenario's name as the argument runs that one only: tcp, serial, connect, disconnect, start.
  const std::string only = argc > 1 ? argv[1] : "";
  auto wanted = [&](const char* name) { return only.empty() || only == name; };
  std::printf("Longest stall of the window's event loop (a 5 ms timer) while it waits:\n");
  if (wanted("tcp")) SilentPollTick(fresh(), false);
  if (wanted("serial")) SilentPollTick(fresh(), true);
  if (wanted("connect")) UnansweredConnect(fresh());
  if (wanted("disconnect")) DisconnectFromStalledPeer(fresh());
  if (wanted("start")) StartStandIn(fresh());
  std::printf("(\"Display Selected Files\" of a 300 MB file: calibration_bench)\n");
  fs::remove_all(root);
  return 0;
}
