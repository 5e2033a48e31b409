// The whole link against the instrument simulator: real loopback TCP and a real pseudo-terminal, every
// failure value the simulator's faults can provoke, retries, tones, the fifth-failure disconnect and the
// routing between the two links.
#include <gtest/gtest.h>

#include <array>

#include "link/AsioLinkOpener.h"
#include "link/CommandCodes.h"
#include "link/CommandLayer.h"
#include "link/ConnectionManager.h"
#include "tests/link/LinkFakes.h"
#include "link/SerialExchange.h"
#include "link/SerialTransport.h"
#include "tools/varnok-sim/SimServer.h"
#include "link/TcpTransport.h"
#include "link/TunnelTransaction.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::FakeLinkWindow;

LinkTimeouts Quick() {
  LinkTimeouts t;
  t.tcpWait = 300ms;
  t.tcpConnect = 2000ms;
  t.serialPerByte = 1ms;
  t.serialConstant = 250ms;
  return t;
}

struct Console {
  explicit Console(bool serial = false)
      : sim([serial] {
          sim::SimOptions o;
          o.tcpPort = 0;
          o.serial = serial;
          return o;
        }()) {
    sim.Start();
  }
  sim::SimServer sim;
  FakeLinkWindow window;
  CommandLayer layer{window, Quick()};
  AsioLinkOpener opener{Quick()};
  ConnectionManager manager{layer, window, opener};
  std::array<std::uint8_t, kBinaryDataSize> data{};
  std::array<char, kTextReplySize> reply{};

  std::string TcpAddress() const { return "127.0.0.1:" + std::to_string(sim.TcpPort()); }
  ConnectResult Press(const std::string& address) {
    window.connectDown = true;
    return manager.ConnectBtnClick(address, "502");
  }
  int Code(std::uint8_t code, const Bytes& request = {}) {
    std::copy(request.begin(), request.end(), data.begin());
    return layer.SendBinaryCommand(code, static_cast<std::uint8_t>(request.size()), data.data());
  }
  std::string Text(const std::string& command, int* result = nullptr) {
    reply.fill(0);
    const int r = layer.SendTextCommand(command, reply.data());
    if (result) *result = r;
    return r > 0 ? std::string(reply.data()) : std::string();
  }
};

TEST(SimTcp, ConnectsAndExchangesTextAndCodedCommands) {
  Console c;
  const auto connected = c.Press(c.TcpAddress());
  ASSERT_EQ(connected.outcome, ConnectOutcome::Connected);
  EXPECT_EQ(connected.modelText, "QX-7100A");
  EXPECT_EQ(c.window.panels[1], " Model:QX-7100A");

  c.window.unitAddress = 5;
  int result = 0;
  const std::string status = c.Text("status", &result);
  EXPECT_GT(result, 0);
  EXPECT_EQ(static_cast<int>(status.size()), result);
  EXPECT_TRUE(status.ends_with("OK\r\n")) << status;
  EXPECT_EQ(c.Code(cmd::kReadValueBlock, {0, 0, 60, 0}), 240);
  EXPECT_GE(c.Code(cmd::kReadClock), 7);

  const auto requests = c.sim.ReceivedRequests();
  ASSERT_GE(requests.size(), 4u);
  const Bytes& text = requests[requests.size() - 3];
  EXPECT_EQ(text[6], 5) << "text commands carry UnitAddress";
  EXPECT_EQ(text[17], 128);
  EXPECT_EQ(requests.back()[6], 0) << "coded commands carry unit 0";
  EXPECT_EQ(requests.back()[17], cmd::kReadClock);
  EXPECT_EQ(c.window.tones, 0);
}

// One tunnel transaction over a real socket with a one-shot fault armed in the simulator.
TEST(SimTcp, EveryFaultGivesItsValue) {
  const struct {
    const char* fault;
    int expected;  // -100: a normal reply arrives
  } cases[] = {
      {"noreply", kTunnelNoResponse},
      {"short:1", kTunnelShortResponse},
      {"short:8", kTunnelShortResponse},
      {"exception", kTunnelException},
      {"close", kTunnelClosed},
      {"late-id", -100},
      {"split", -100},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.fault);
    Console c;
    auto tcp = TcpTransport::Connect("127.0.0.1", c.sim.TcpPort(), 2000ms);
    ASSERT_NE(tcp, nullptr);
    TransactionCounter counter;
    std::array<std::uint8_t, kBinaryDataSize> reply{};
    // A first exchange, so that a late reply has an earlier identifier to carry.
    ASSERT_GE(TunnelTransaction(tcp.get(), counter, 0, cmd::kReadClock, {}, reply.data(), 300ms), 7);
    c.sim.ArmFault(k.fault);
    reply.fill(0xAA);
    const Bytes block = {0, 0, 60, 0};
    const int result =
        TunnelTransaction(tcp.get(), counter, 0, cmd::kReadValueBlock, block, reply.data(), 300ms);
    if (k.expected == -100) {
      EXPECT_EQ(result, 240);
    } else {
      EXPECT_EQ(result, k.expected);
      EXPECT_EQ(reply[0], 0xAA) << "nothing is copied from a failed exchange";
    }
    // Whatever the fault left on the line is not taken for the next reply.
    if (std::string(k.fault) != "close") {
      EXPECT_EQ(TunnelTransaction(tcp.get(), counter, 0, cmd::kReadValueBlock, block, reply.data(), 300ms),
                240);
    }
  }
}

TEST(SimTcp, NamesAreLookedUpToTheirFirstIPv4Address) {
  AsioLinkOpener opener(Quick());
  EXPECT_EQ(opener.LookUpIPv4("localhost"), "127.0.0.1");
  EXPECT_EQ(opener.LookUpIPv4("10.1.2.3"), "10.1.2.3");
  EXPECT_FALSE(opener.LookUpIPv4(""));
  Console c;
  const auto connected = c.Press("http://localhost:" + std::to_string(c.sim.TcpPort()) + "/");
  EXPECT_EQ(connected.outcome, ConnectOutcome::Connected);
}

TEST(SimTcp, RefusalCodeIsShownAsProblem) {
  Console c;
  ASSERT_EQ(c.Press(c.TcpAddress()).outcome, ConnectOutcome::Connected);
  c.sim.ArmFault("refuse:11:3");
  const int result = c.Code(cmd::kWriteCalConstants, Bytes(128, 0));
  EXPECT_EQ(result, 1);
  c.layer.ShowCommandStatus(result, c.data.data());
  EXPECT_EQ(c.window.panels[2], "Problems:3");
}

TEST(SimTcp, OneFailureIsRetriedWithTheSameBytesAndOneTone) {
  Console c;
  ASSERT_EQ(c.Press(c.TcpAddress()).outcome, ConnectOutcome::Connected);
  const std::size_t before = c.sim.ReceivedRequests().size();
  c.sim.ArmFault("noreply");
  EXPECT_EQ(c.Code(cmd::kReadValueBlock, {2, 0, 10, 0}), 40);
  EXPECT_EQ(c.window.tones, 1);
  const auto requests = c.sim.ReceivedRequests();
  ASSERT_EQ(requests.size(), before + 2);
  const Bytes& first = requests[before];
  const Bytes& second = requests[before + 1];
  EXPECT_EQ(Bytes(first.begin() + 2, first.end()), Bytes(second.begin() + 2, second.end()));
  EXPECT_TRUE(c.window.connectDown);
}

TEST(SimTcp, TwoFailuresReleaseTheButtonAndStopThePollUntilTheNextConnection) {
  Console c;
  ASSERT_EQ(c.Press(c.TcpAddress()).outcome, ConnectOutcome::Connected);
  c.sim.SetFault("close");
  EXPECT_EQ(c.Code(cmd::kReadClock), -1);
  EXPECT_EQ(c.window.tones, 2);
  EXPECT_FALSE(c.window.connectDown);
  EXPECT_EQ(c.window.timer1Enabled, false);
  EXPECT_EQ(c.window.timerBtnReleases, 1);
  EXPECT_EQ(c.Code(cmd::kReadClock), -1) << "refused while the button is up";
  EXPECT_EQ(c.window.tones, 2);

  c.sim.ClearFaults();
  ASSERT_EQ(c.Press(c.TcpAddress()).outcome, ConnectOutcome::Connected);
  EXPECT_EQ(c.window.timer1Enabled, true);
  EXPECT_GE(c.Code(cmd::kReadClock), 7);
}

TEST(SimTcp, FifthFailedTextCommandDisconnects) {
  Console c;
  ASSERT_EQ(c.Press(c.TcpAddress()).outcome, ConnectOutcome::Connected);
  for (int failure = 1; failure <= 5; ++failure) {
    c.window.connectDown = true;  // pressed again after each double failure
    c.sim.SetFault("noreply");
    int result = 0;
    c.Text("status", &result);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(c.layer.State().failureCount, failure);
    c.sim.ClearFaults();
  }
  EXPECT_EQ(c.window.panels[0], "Disonnected");
  EXPECT_EQ(c.layer.State().tcpSocket, nullptr);
}

TEST(SimSerial, ConnectsAndExchangesOverThePseudoTerminal) {
  Console c(true);
  const auto connected = c.Press(c.sim.SerialPath());
  ASSERT_EQ(connected.outcome, ConnectOutcome::Connected);
  EXPECT_EQ(connected.modelText, "QX-7100A");
  EXPECT_TRUE(c.layer.State().serialLink);
  int result = 0;
  const std::string status = c.Text("status", &result);
  EXPECT_GT(result, 0);
  EXPECT_TRUE(status.ends_with("OK\r")) << status;
  EXPECT_GE(c.Code(cmd::kReadClock), 7);
  EXPECT_EQ(c.Code(cmd::kReadValueBlock, {0, 0, 60, 0}), 240);
  EXPECT_EQ(c.window.tones, 0);
  EXPECT_EQ(c.sim.ReceivedRequests().front(), (Bytes{0x08, 0x80, 0x88}));
}

TEST(SimSerial, EveryFaultGivesItsValue) {
  const struct {
    const char* fault;
    bool text;
    int expected;
  } cases[] = {
      {"nak", false, kSerialNak},
      {"badcheck", false, kSerialBadCheck},
      {"bodycut", false, kSerialBadCheck},
      {"noreply", false, kSerialNoBytes},
      {"textcut", true, -1},
      {"noreply", true, -1},
      {"short:2", false, kSerialNoBytes},
      {"short:5", false, kSerialBadCheck},
      {"split", false, 32},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.fault);
    Console c(true);
    ASSERT_EQ(c.Press(c.sim.SerialPath()).outcome, ConnectOutcome::Connected);
    c.sim.ArmFault(k.fault);
    int result = 0;
    if (k.text) {
      c.Text("status", &result);
    } else {
      result = c.Code(cmd::kReadValueBlock, {0, 0, 8, 0});
    }
    EXPECT_EQ(result, k.expected);
    // The line is usable again at once: nothing of the failed exchange is taken for the next reply.
    c.sim.ClearFaults();
    EXPECT_EQ(c.Code(cmd::kReadValueBlock, {0, 0, 8, 0}), 32);
    EXPECT_TRUE(c.Text("status").ends_with("OK\r"));
  }
}

TEST(SimSerial, BannerLineIsShownAndKept) {
  Console c(true);
  ASSERT_EQ(c.Press(c.sim.SerialPath()).outcome, ConnectOutcome::Connected);
  c.sim.ArmFault("banner");
  const std::string reply = c.Text("software");
  EXPECT_TRUE(c.window.panels[2].starts_with("Torvelmandra")) << c.window.panels[2];
  EXPECT_TRUE(c.window.panels[2].ends_with("\r\n"));
  EXPECT_TRUE(reply.starts_with("Torvelmandra")) << reply;
}

TEST(SimSerial, FifthFailedTextCommandDisconnects) {
  Console c(true);
  ASSERT_EQ(c.Press(c.sim.SerialPath()).outcome, ConnectOutcome::Connected);
  for (int i = 1; i <= 5; ++i) {
    c.sim.ArmFault("textcut");
    int result = 0;
    c.Text("status", &result);
    EXPECT_EQ(result, -1);
    if (i < 5) {
      EXPECT_GT(c.Text("status").size(), 0u) << "a success between failures resets nothing";
    }
  }
  EXPECT_EQ(c.layer.State().failureCount, 5);
  EXPECT_FALSE(c.window.connectDown);
  EXPECT_EQ(c.window.panels[0], "Disonnected");
  EXPECT_EQ(c.window.tones, 2);
  EXPECT_FALSE(c.layer.State().serialLink);
}

TEST(SimRouting, SerialAfterTcpAndBack) {
  Console c(true);
  ASSERT_EQ(c.Press(c.TcpAddress()).outcome, ConnectOutcome::Connected);
  EXPECT_GE(c.Code(cmd::kReadClock), 7);
  ASSERT_EQ(c.Press(c.sim.SerialPath()).outcome, ConnectOutcome::Connected);
  EXPECT_EQ(c.layer.State().tcpSocket, nullptr) << "the earlier link was closed";
  const std::size_t before = c.sim.ReceivedRequests().size();
  EXPECT_GE(c.Code(cmd::kReadClock), 7);
  EXPECT_EQ(c.sim.ReceivedRequests().back(), (Bytes{0x08, cmd::kReadClock, 0x08 ^ cmd::kReadClock}));
  c.window.connectDown = false;
  c.manager.ConnectBtnClick(c.sim.SerialPath(), "502");  // the user releases the button
  EXPECT_FALSE(c.layer.State().serialLink);
  ASSERT_EQ(c.Press(c.TcpAddress()).outcome, ConnectOutcome::Connected);
  EXPECT_GE(c.Code(cmd::kReadClock), 7);
  const auto requests = c.sim.ReceivedRequests();
  EXPECT_GT(requests.size(), before + 2);
  EXPECT_EQ(requests.back().size(), 19u) << "a tunnel request again";
  EXPECT_EQ(requests.back()[17], cmd::kReadClock);
}

}  // namespace
}  // namespace varnok
