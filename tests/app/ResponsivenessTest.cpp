// The window keeps serving the technician while the instrument is silent, and what the instrument sees
// stays as it was when the window blocked: the real main window with its real pages, against the
// simulated instrument over loopback TCP and a pseudo-terminal.
#include <optional>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "app/FeaturePages.h"
#include "tools/varnok-sim/SimServer.h"
#include "tests/app/WindowTestSupport.h"

namespace varnok::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

enum class Transport { Tcp, Serial };

class ResponsivenessTest : public ::testing::TestWithParam<Transport> {
 protected:
  void Open(std::chrono::milliseconds tcpWait) {
    sim::SimOptions options;
    options.tcp = GetParam() == Transport::Tcp;
    options.tcpPort = 0;
    options.serial = GetParam() == Transport::Serial;
    sim_ = std::make_unique<sim::SimServer>(options);
    sim_->Start();
    MainWindowSetup setup;
    setup.settingsPath = folder_ / "r.INI";
    setup.workingFolder = folder_.Path();
    setup.tone = &tone_;
    setup.timeouts.tcpWait = tcpWait;
    setup.timeouts.tcpConnect = 2000ms;
    setup.installPages = [](MainWindow& w) { InstallFeaturePages(w); };
    window_ = std::make_unique<MainWindow>(std::move(setup));
    window_->show();
    const std::string address =
        GetParam() == Transport::Tcp ? "127.0.0.1:" + std::to_string(sim_->TcpPort()) : sim_->SerialPath();
    Find<QComboBox>(*window_, "IP")->setEditText(QString::fromStdString(address));
    Timer1()->stop();
    ConnectButton()->click();
    ASSERT_EQ(Panel(0), " Connected");
    Timer1()->stop();
    Click("ActivateBtn");  // the sample configuration into the panel
  }

  QTimer* Timer1() const { return Find<QTimer>(*window_, "Timer1"); }
  QToolButton* ConnectButton() const { return Find<QToolButton>(*window_, "ConnectBtn"); }
  std::string Panel(int i) const {
    return Find<QLabel>(*window_, ("StatusPanel" + std::to_string(i)).c_str())->text().toStdString();
  }
  void Click(const char* name) const {
    auto* button = Find<QPushButton>(*window_, name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }
  // The command codes of the requests the instrument received since `from` (acknowledgement bytes,
  // were they recorded, are left out).
  std::vector<int> CodesSince(std::size_t from) const {
    const auto requests = sim_->ReceivedRequests();
    std::vector<int> codes;
    for (std::size_t i = from; i < requests.size(); ++i) {
      const auto& r = requests[i];
      if (GetParam() == Transport::Tcp && r.size() > 17) codes.push_back(r[17]);
      if (GetParam() == Transport::Serial && r.size() >= 3) codes.push_back(r[1]);
    }
    return codes;
  }
  std::size_t RequestCount() const { return sim_->ReceivedRequests().size(); }
  // The upload's first exchange waits: it gets no reply (over TCP its retry is answered).
  void MakeTheNextExchangeWait() { sim_->ArmFault("noreply"); }
  static bool IsUploadCode(int code) { return code >= 8 && code <= 11; }

  TempFolder folder_;
  CountingTone tone_;
  ErrorRecorder errors_;
  std::unique_ptr<sim::SimServer> sim_;
  std::unique_ptr<MainWindow> window_;
};

TEST_P(ResponsivenessTest, TicksDuringAnUploadSendNothingBetweenItsCommands) {
  Open(1200ms);
  const std::size_t before = RequestCount();
  MakeTheNextExchangeWait();
  Timer1()->setInterval(100);
  Timer1()->start();
  const auto start = Clock::now();
  Click("UloadAllBtn");  // returns when the upload, and what waited behind it, has run
  const auto took = Clock::now() - start;
  Timer1()->stop();
  ASSERT_GE(took, 900ms) << "the first exchange was meant to wait";

  const std::vector<int> codes = CodesSince(before);
  // The upload's commands come first and together; whatever the poll sent comes after them.
  std::size_t uploadEnd = 0;
  while (uploadEnd < codes.size() && IsUploadCode(codes[uploadEnd])) ++uploadEnd;
  ASSERT_GE(uploadEnd, 4u);
  for (std::size_t i = uploadEnd; i < codes.size(); ++i) EXPECT_FALSE(IsUploadCode(codes[i])) << i;
}

TEST_P(ResponsivenessTest, TicksThatFallDueWhileBusyAreDroppedButOne) {
  Open(1200ms);
  const std::size_t before = RequestCount();
  MakeTheNextExchangeWait();
  Timer1()->setInterval(100);
  Timer1()->start();
  Click("UloadAllBtn");
  Timer1()->stop();  // no tick runs after this: the click ran everything that waited behind it

  const std::vector<int> codes = CodesSince(before);
  // About ten ticks fell due during the wait: one status poll (the clock, then three value blocks) ran.
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 141), 1);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 132), 3);
}

TEST_P(ResponsivenessTest, ClicksDuringAWaitRunAfterItInClickOrder) {
  Open(1200ms);
  const std::size_t before = RequestCount();
  MakeTheNextExchangeWait();
  bool clickedDuringWait = false;
  QTimer::singleShot(250, window_.get(), [&] {
    clickedDuringWait = true;
    Click("Button7");     // save to flash
    Click("ReadAllBtn");  // read the settings back
  });
  Click("UloadAllBtn");
  ASSERT_TRUE(clickedDuringWait);

  std::vector<int> codes = CodesSince(before);
  std::vector<int> upload;
  while (!codes.empty() && IsUploadCode(codes.front())) {
    upload.push_back(codes.front());
    codes.erase(codes.begin());
  }
  EXPECT_GE(upload.size(), 4u);
  EXPECT_EQ(codes, (std::vector<int>{200, 168, 169, 170, 171}));
}

TEST_P(ResponsivenessTest, ReleasingConnectDuringAWaitDisconnectsAtOnce) {
  Open(4000ms);
  const std::size_t before = RequestCount();
  const int tonesBefore = tone_.count;
  sim_->SetFault("noreply");
  Clock::time_point released;
  std::string panelAtRelease;
  QTimer::singleShot(300, window_.get(), [&] {
    released = Clock::now();
    ConnectButton()->click();
    panelAtRelease = Panel(0);
  });
  Click("UloadAllBtn");
  const auto afterRelease = Clock::now() - released;

  EXPECT_EQ(panelAtRelease, "Disonnected");
  EXPECT_LT(afterRelease, 500ms) << "the waiting exchange ended at once";
  EXPECT_FALSE(ConnectButton()->isChecked());
  EXPECT_EQ(tone_.count - tonesBefore, 2) << "the two tones of the disconnection, no retry tone";
  EXPECT_EQ(RequestCount() - before, 1u) << "no retry, nothing sent on the closed link";
  EXPECT_TRUE(errors_.shown.empty());
}

TEST_P(ResponsivenessTest, ClosingTheWindowDuringAWaitDisconnectsThenWritesTheSettings) {
  Open(4000ms);
  const std::size_t before = RequestCount();
  const int tonesBefore = tone_.count;
  sim_->SetFault("noreply");
  QTimer::singleShot(300, window_.get(), [&] {
    window_->close();
    EXPECT_TRUE(window_->isVisible()) << "the window waits for the handler to end";
    EXPECT_EQ(Panel(0), "Disonnected");
  });
  const auto start = Clock::now();
  Click("UloadAllBtn");
  EXPECT_LT(Clock::now() - start, 1500ms);
  EXPECT_FALSE(window_->isVisible());
  EXPECT_NE(ReadText(folder_ / "r.INI").find("[Form]"), std::string::npos);
  EXPECT_EQ(tone_.count - tonesBefore, 2);
  EXPECT_EQ(RequestCount() - before, 1u);
}

TEST_P(ResponsivenessTest, TheWindowShowsItIsBusyAfterAMomentOfWaiting) {
  Open(1200ms);
  // Waits that follow each other closely show as one; this one starts well after the connection's.
  QElapsedTimer settle;
  settle.start();
  WaitFor([&] { return settle.elapsed() > 300; }, 1s);
  sim_->SetFault("noreply");
  // Watches the window every 5 ms while the command waits: when the indication first showed, and
  // whether the cursor and the status-bar indicator showed with it.
  QTimer watch;
  watch.setInterval(5);
  const auto start = Clock::now();
  std::optional<Clock::duration> shownAfter;
  bool cursorAndIndicator = false;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (shownAfter || !window_->BusyShown()) return;
    shownAfter = Clock::now() - start;
    cursorAndIndicator = Find<QWidget>(*window_, "BusyIndicator")->isVisible() &&
                         QApplication::overrideCursor() != nullptr &&
                         QApplication::overrideCursor()->shape() == Qt::BusyCursor;
  });
  watch.start();
  Click("Button7");
  watch.stop();
  ASSERT_TRUE(shownAfter.has_value()) << "a wait of more than a second showed nothing";
  EXPECT_GE(*shownAfter, 190ms) << "a short wait shows nothing";
  EXPECT_TRUE(cursorAndIndicator);
  EXPECT_EQ(Panel(0), " Connected") << "the indication never writes into the status panels";
  ASSERT_TRUE(WaitFor([&] { return !window_->BusyShown(); }, 2s));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(Find<QWidget>(*window_, "BusyIndicator")->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Transports, ResponsivenessTest, ::testing::Values(Transport::Tcp, Transport::Serial),
                         [](const ::testing::TestParamInfo<Transport>& info) {
                           return info.param == Transport::Tcp ? "Tcp" : "Serial";
                         });

}  // namespace
}  // namespace varnok::test
