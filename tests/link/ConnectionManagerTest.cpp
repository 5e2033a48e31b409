#include "link/ConnectionManager.h"

#include <gtest/gtest.h>

#include "tests/link/LinkFakes.h"
#include "link/SerialFrame.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::BytesOf;
using test::FakeLinkWindow;
using test::FakeOpener;
using test::FakeSerialChannel;
using test::FakeTcpChannel;
using test::TunnelResponse;

struct Connecting {
  FakeLinkWindow window;
  CommandLayer layer{window, [] {
                       LinkTimeouts t;
                       t.tcpWait = 20ms;
                       return t;
                     }()};
  FakeOpener opener;
  ConnectionManager manager{layer, window, opener};

  Connecting() {
    opener.tcp->responder = [](FakeTcpChannel::Shared& s, const Bytes& req) {
      s.incoming.push_back(TunnelResponse(test::RequestId(req), BytesOf("QX-7100A\r\nOK\r\n")));
    };
    opener.serial->responder = [](FakeSerialChannel::Shared& s, const Bytes& out) {
      if (out.size() == 1) return;
      s.Queue({kAck});
      s.Queue(BuildSerialFrame(1, 128, BytesOf("QX-7100S\r\nOK\r\n")));
    };
  }
  ConnectResult Press(const std::string& ip, const std::string& port = "502") {
    window.connectDown = true;
    return manager.ConnectBtnClick(ip, port);
  }
};

TEST(ConnectionManager, TcpConnectionShowsAddressThenModelAndRestartsThePoll) {
  Connecting c;
  std::string panelWhileOpening;
  c.opener.onOpen = [&] { panelWhileOpening = c.window.panels[1]; };
  c.window.timer1Enabled = false;
  const auto result = c.Press("http://10.0.0.5/");
  EXPECT_EQ(result.outcome, ConnectOutcome::Connected);
  EXPECT_EQ(result.modelText, "QX-7100A");
  EXPECT_EQ(c.opener.lookups, std::vector<std::string>{"10.0.0.5"});
  EXPECT_EQ(panelWhileOpening, "10.0.0.5");
  EXPECT_EQ(c.window.panels[0], " Connected");
  EXPECT_EQ(c.window.panels[1], " Model:QX-7100A");
  EXPECT_EQ(c.window.timer1Enabled, true);
  EXPECT_TRUE(c.window.connectDown);
  EXPECT_EQ(c.window.tones, 0);
  ASSERT_EQ(c.opener.tcp->sent.size(), 1u);
  const Bytes& query = c.opener.tcp->sent[0];
  EXPECT_EQ(query.size(), 19u);
  EXPECT_EQ(query[6], 0);
  EXPECT_EQ(query[17], 128);
}

TEST(ConnectionManager, PortFromTheBoxOrTheAddress) {
  const struct {
    const char* ip;
    const char* portText;
    int port;
    int tones;
  } cases[] = {{"10.0.0.5", "502", 502, 0},
               {"10.0.0.5", "5020", 5020, 0},
               {"10.0.0.5", "x502", 502, 1},
               {"10.0.0.5:5020", "502", 5020, 0},
               {"10.0.0.5", "0", 0, 0}};  // the transport turns 0 into 502
  for (const auto& k : cases) {
    SCOPED_TRACE(k.ip);
    Connecting c;
    EXPECT_EQ(c.Press(k.ip, k.portText).outcome, ConnectOutcome::Connected);
    ASSERT_EQ(c.opener.tcpOpened.size(), 1u);
    EXPECT_EQ(c.opener.tcpOpened[0].second, k.port);
    EXPECT_EQ(c.window.tones, k.tones);
  }
}

TEST(ConnectionManager, UnknownHost) {
  Connecting c;
  c.opener.resolved.reset();
  EXPECT_EQ(c.Press("nohost.invalid/").outcome, ConnectOutcome::NoSuchHost);
  EXPECT_EQ(c.window.panels[2], "No such host:nohost.invalid");
  EXPECT_EQ(c.window.tones, 1);
  EXPECT_FALSE(c.window.connectDown);
  EXPECT_TRUE(c.opener.tcpOpened.empty());
}

TEST(ConnectionManager, RefusedConnectionOrMissingPortIsSilent) {
  for (const char* ip : {"10.0.0.5", "COM4"}) {
    Connecting c;
    c.opener.tcpOpens = false;
    c.opener.serialOpens = false;
    EXPECT_EQ(c.Press(ip).outcome, ConnectOutcome::OpenFailed);
    EXPECT_FALSE(c.window.connectDown);
    EXPECT_EQ(c.window.tones, 0);
    EXPECT_EQ(c.window.panels[0], "");
    EXPECT_EQ(c.window.panels[2], "");
  }
}

TEST(ConnectionManager, FailedModelQuery) {
  Connecting c;
  c.opener.tcp->responder = nullptr;  // the instrument does not answer
  EXPECT_EQ(c.Press("10.0.0.5").outcome, ConnectOutcome::CantConnect);
  EXPECT_EQ(c.window.panels[0], "Can't connect");
  EXPECT_FALSE(c.window.connectDown);
  EXPECT_EQ(c.window.tones, 3) << "two from the failed exchange and one for the connection";
  EXPECT_EQ(c.window.timer1Enabled, false);
  EXPECT_FALSE(c.opener.tcp->closed) << "the socket stays until the next attempt";
}

TEST(ConnectionManager, SerialConnectionAndRetryAfterCantConnect) {
  Connecting c;
  auto answer = c.opener.serial->responder;
  c.opener.serial->responder = nullptr;
  EXPECT_EQ(c.Press("com3").outcome, ConnectOutcome::CantConnect);
  EXPECT_EQ(c.window.tones, 1);
  c.opener.serial->responder = answer;
  const auto second = c.Press("com3");
  EXPECT_EQ(second.outcome, ConnectOutcome::Connected);
  EXPECT_EQ(second.modelText, "QX-7100S");
  EXPECT_EQ(c.opener.serialOpened, (std::vector<std::string>{"/dev/ttyS2", "/dev/ttyS2"}));
  EXPECT_TRUE(c.layer.State().serialLink);
  EXPECT_EQ(c.opener.serial->written.back(), (Bytes{kAck}));
  EXPECT_EQ(c.opener.serial->written.front(), (Bytes{0x08, 0x80, 0x88}));
}

TEST(ConnectionManager, LeftoverSocketIsClosedWhicheverAddressFollows) {
  for (const char* next : {"10.0.0.6", "COM2"}) {
    Connecting c;
    auto old = std::make_shared<FakeTcpChannel::Shared>();
    c.layer.AttachTcp(std::make_unique<FakeTcpChannel>(old));
    c.opener.tcp = std::make_shared<FakeTcpChannel::Shared>();
    c.opener.tcp->responder = [](FakeTcpChannel::Shared& s, const Bytes& req) {
      s.incoming.push_back(TunnelResponse(test::RequestId(req), BytesOf("QX\r\nOK\r\n")));
    };
    EXPECT_EQ(c.Press(next).outcome, ConnectOutcome::Connected) << next;
    EXPECT_TRUE(old->closed) << next;
    EXPECT_TRUE(old->sent.empty()) << next;
    EXPECT_EQ(c.window.tones, 0) << "closing a leftover is quiet";
  }
}

TEST(ConnectionManager, ButtonUpDisconnects) {
  Connecting c;
  ASSERT_EQ(c.Press("10.0.0.5").outcome, ConnectOutcome::Connected);
  c.window.connectDown = false;
  EXPECT_EQ(c.manager.ConnectBtnClick("10.0.0.5", "502").outcome, ConnectOutcome::Disconnected);
  EXPECT_TRUE(c.opener.tcp->closed);
  EXPECT_EQ(c.window.panels[0], "Disonnected");
  EXPECT_EQ(c.window.tones, 2);
}

}  // namespace
}  // namespace varnok
