// Connecting from the real main window (offscreen) to the simulated instrument over TCP and over a
// pseudo-terminal.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QComboBox>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

#include "link/CommandLayer.h"
#include "core/SettingsFile.h"
#include "core/TextConversions.h"
#include "tools/varnok-sim/SimServer.h"
#include "tests/app/WindowTestSupport.h"

namespace varnok::test {
namespace {

// A listener that accepts connections and never answers: the model query over it fails.
class SilentListener {
 public:
  SilentListener() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 4);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~SilentListener() {
    if (accepted_ >= 0) ::close(accepted_);
    ::close(listener_);
  }
  int Port() const { return port_; }
  // Accepts the pending connection (the kernel completed it already).
  bool Accept() {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, 2000) != 1) return false;
    accepted_ = ::accept(listener_, nullptr, nullptr);
    return accepted_ >= 0;
  }
  // True when the peer has closed the accepted connection (reads end of stream, within a bound).
  bool PeerClosed() {
    char buffer[256];
    for (int i = 0; i < 100; ++i) {
      pollfd p{accepted_, POLLIN, 0};
      if (::poll(&p, 1, 20) == 1) {
        const ssize_t n = ::recv(accepted_, buffer, sizeof buffer, 0);
        if (n == 0) return true;
        if (n < 0) return false;
      }
    }
    return false;
  }

 private:
  int listener_ = -1;
  int accepted_ = -1;
  int port_ = 0;
};

class ConnectTest : public ::testing::Test {
 protected:
  void StartSim(bool serial = false) {
    sim::SimOptions options;
    options.tcp = !serial;
    options.tcpPort = 0;
    options.serial = serial;
    sim_ = std::make_unique<sim::SimServer>(options);
    sim_->Start();
  }
  void OpenWindow(const std::string& settingsText = "") {
    if (!settingsText.empty()) WriteText(folder_ / "c.INI", settingsText);
    MainWindowSetup setup;
    setup.settingsPath = folder_ / "c.INI";
    setup.workingFolder = folder_.Path();
    setup.tone = &tone_;
    setup.timeouts.tcpWait = std::chrono::milliseconds(300);
    setup.timeouts.tcpConnect = std::chrono::milliseconds(2000);
    window_ = std::make_unique<MainWindow>(std::move(setup));
  }
  std::string SimAddress() const { return "127.0.0.1:" + std::to_string(sim_->TcpPort()); }
  void Connect(const std::string& address) {
    Find<QComboBox>(*window_, "IP")->setEditText(QString::fromStdString(address));
    Button()->click();
  }
  QToolButton* Button() const { return Find<QToolButton>(*window_, "ConnectBtn"); }
  std::string Panel(int i) const {
    return Find<QLabel>(*window_, ("StatusPanel" + std::to_string(i)).c_str())->text().toStdString();
  }
  bool Timer1Active() const { return Find<QTimer>(*window_, "Timer1")->isActive(); }
  std::vector<std::string> Entries() const {
    std::vector<std::string> list;
    auto* ip = Find<QComboBox>(*window_, "IP");
    for (int i = 0; i < ip->count(); ++i) list.push_back(ip->itemText(i).toStdString());
    return list;
  }

  TempFolder folder_;
  CountingTone tone_;
  ErrorRecorder errors_;
  std::unique_ptr<sim::SimServer> sim_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(ConnectTest, TcpAddressFormsConnectAndShowTheModel) {
  StartSim();
  const std::string port = std::to_string(sim_->TcpPort());
  const std::string forms[] = {"127.0.0.1:" + port, "http://127.0.0.1:" + port + "/",
                               "HTTP://127.0.0.1:" + port, "localhost:" + port};
  for (const auto& address : forms) {
    OpenWindow();
    Connect(address);
    EXPECT_TRUE(Button()->isChecked()) << address;
    EXPECT_EQ(Panel(0), " Connected") << address;
    EXPECT_EQ(Panel(1), " Model:QX-7100A") << address;
    EXPECT_EQ(window_->ModelText(), "QX-7100A");
    EXPECT_EQ(Entries().front(), address);
    EXPECT_EQ(tone_.count, 0) << address;

    Button()->click();  // second press: disconnect
    EXPECT_FALSE(Button()->isChecked());
    EXPECT_EQ(Panel(0), "Disonnected");
    tone_.count = 0;
  }
}

TEST_F(ConnectTest, SerialDeviceOnAPseudoTerminal) {
  StartSim(/*serial=*/true);
  OpenWindow();
  Connect(sim_->SerialPath());
  EXPECT_TRUE(Button()->isChecked());
  EXPECT_EQ(Panel(0), " Connected");
  EXPECT_EQ(Panel(1), " Model:QX-7100A");
  EXPECT_TRUE(window_->Commands().State().serialLink);
  EXPECT_EQ(Entries().front(), sim_->SerialPath());
}

TEST_F(ConnectTest, UnknownHostIsReported) {
  OpenWindow();
  Connect("no-such-host.invalid");
  EXPECT_FALSE(Button()->isChecked());
  EXPECT_EQ(Panel(2), "No such host:no-such-host.invalid");
  EXPECT_EQ(tone_.count, 1);
  EXPECT_EQ(Entries(), (std::vector<std::string>{kFactoryAddress, "COM1"}));  // not remembered
}

TEST_F(ConnectTest, RefusedConnectionReleasesTheButtonQuietly) {
  int port = 0;
  {
    SilentListener closedAgain;  // a port that was free a moment ago, closed again now
    port = closedAgain.Port();
  }
  OpenWindow();
  Connect("127.0.0.1:" + std::to_string(port));
  EXPECT_FALSE(Button()->isChecked());
  EXPECT_EQ(tone_.count, 0);
  EXPECT_EQ(Panel(0), "");
}

// A model query without answer: "Can't connect" after the layer's two tones, and the status poll is off.
// The socket it leaves open is closed by the next attempt, which connects and runs the poll again.
TEST_F(ConnectTest, CantConnectThenLeftoverClosedAndPollRunsAgain) {
  StartSim();
  SilentListener silent;
  OpenWindow();
  Connect("127.0.0.1:" + std::to_string(silent.Port()));
  ASSERT_TRUE(silent.Accept());
  EXPECT_FALSE(Button()->isChecked());
  EXPECT_EQ(Panel(0), "Can't connect");
  EXPECT_EQ(Panel(1), "127.0.0.1");  // the dotted address shown while connecting stays
  EXPECT_EQ(tone_.count, 3);
  EXPECT_FALSE(Timer1Active());
  EXPECT_NE(window_->Commands().State().tcpSocket, nullptr);  // left open until the next attempt
  EXPECT_EQ(Entries().front(), kFactoryAddress);

  Connect(SimAddress());
  EXPECT_TRUE(silent.PeerClosed());
  EXPECT_TRUE(Button()->isChecked());
  EXPECT_EQ(Panel(0), " Connected");
  EXPECT_TRUE(Timer1Active());
}

// After a double failure of an exchange the poll stops; reconnecting starts it again.
TEST_F(ConnectTest, ReconnectAfterDoubleFailureRunsTimer1Again) {
  StartSim();
  OpenWindow();
  Connect(SimAddress());
  ASSERT_TRUE(Button()->isChecked());
  sim_->SetFault("noreply");
  std::uint8_t data[kBinaryDataSize] = {};
  EXPECT_EQ(window_->Link().SendBinaryCommand(141, 0, data), -1);
  EXPECT_FALSE(Button()->isChecked());
  EXPECT_FALSE(Timer1Active());
  sim_->ClearFaults();

  Connect(SimAddress());
  EXPECT_TRUE(Button()->isChecked());
  EXPECT_TRUE(Timer1Active());
  EXPECT_GT(window_->Link().SendBinaryCommand(141, 0, data), 0);
}

TEST_F(ConnectTest, AddressListNewestFirstWithoutDuplicatesAndAtMostTwenty) {
  StartSim();
  std::vector<std::string> stored;
  for (int i = 1; i <= 20; ++i) stored.push_back("10.0.0." + std::to_string(i));
  OpenWindow("[Form]\nIPAddress=" + [&] {
    std::string joined;
    for (const auto& s : stored) joined += (joined.empty() ? "" : ",") + s;
    return joined;
  }() + "\n");
  const std::string port = std::to_string(sim_->TcpPort());

  Connect("localhost:" + port);
  std::vector<std::string> expected = stored;
  expected.insert(expected.begin(), "localhost:" + port);
  expected.pop_back();
  EXPECT_EQ(Entries(), expected);

  Connect("localhost:" + port);  // the same text again: no second entry
  EXPECT_EQ(Entries(), expected);

  Connect("LocalHost:" + port);  // letter case counts
  expected.insert(expected.begin(), "LocalHost:" + port);
  expected.pop_back();
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(Entries().size(), 20u);

  // Picked from the list: nothing changes.
  auto* ip = Find<QComboBox>(*window_, "IP");
  ip->setCurrentIndex(1);
  Button()->click();
  Button()->click();
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(ip->currentText().toStdString(), "localhost:" + port);

  // The list reaches the settings file at close.
  window_->close();
  SettingsFile file(folder_ / "c.INI");
  EXPECT_EQ(SplitCommaList(file.ReadString("Form", "IPAddress", "")), expected);
}

}  // namespace
}  // namespace varnok::test
