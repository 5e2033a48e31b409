#include "link/CommandLayer.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/link/LinkFakes.h"
#include "link/SerialFrame.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::BytesOf;
using test::FakeLinkWindow;
using test::FakeSerialChannel;
using test::FakeTcpChannel;
using test::TunnelResponse;

LinkTimeouts Quick() {
  LinkTimeouts t;
  t.tcpWait = 20ms;
  return t;
}

struct Layer {
  FakeLinkWindow window;
  CommandLayer layer{window, Quick()};
  std::shared_ptr<FakeTcpChannel::Shared> tcp = std::make_shared<FakeTcpChannel::Shared>();
  std::shared_ptr<FakeSerialChannel::Shared> serial = std::make_shared<FakeSerialChannel::Shared>();
  std::array<char, kTextReplySize> reply{};
  std::array<std::uint8_t, kBinaryDataSize> data{};

  void ConnectTcp() {
    tcp->closed = false;
    layer.AttachTcp(std::make_unique<FakeTcpChannel>(tcp));
    window.connectDown = true;
  }
  void ConnectSerial() {
    serial->closed = false;
    layer.AttachSerial(std::make_unique<FakeSerialChannel>(serial));
    window.connectDown = true;
  }
  // The instrument answers every request with `text`, or fails the first `failures` attempts by closing.
  void TcpAnswers(std::string text, int failures = 0) {
    tcp->responder = [text, failures, n = 0](FakeTcpChannel::Shared& s, const Bytes& req) mutable {
      if (n++ < failures) {
        s.incoming.push_back(Bytes{});
      } else {
        s.incoming.push_back(TunnelResponse(test::RequestId(req), BytesOf(text)));
      }
    };
  }
  int Text(std::string_view command) { return layer.SendTextCommand(command, reply.data()); }
};

TEST(CommandLayer, ButtonUpRefusesBothCommands) {
  Layer l;
  l.layer.AttachTcp(std::make_unique<FakeTcpChannel>(l.tcp));
  EXPECT_EQ(l.Text("status"), -1);
  EXPECT_EQ(l.window.tones, 1);
  EXPECT_EQ(l.layer.SendBinaryCommand(141, 0, l.data.data()), -1);
  EXPECT_EQ(l.window.tones, 1);
  EXPECT_EQ(l.layer.State().failureCount, 0);
  EXPECT_TRUE(l.tcp->sent.empty());
}

TEST(CommandLayer, TextOverTcpUsesUnitAddressAndCodedUsesUnitZero) {
  Layer l;
  l.ConnectTcp();
  l.window.unitAddress = 7;
  l.TcpAnswers("abc\r\nOK\r\n");
  EXPECT_EQ(l.Text("status"), 9);
  EXPECT_EQ(std::string(l.reply.data()), "abc\r\nOK\r\n");
  EXPECT_EQ(l.layer.SendBinaryCommand(141, 0, l.data.data()), 9);
  ASSERT_EQ(l.tcp->sent.size(), 2u);
  const Bytes& text = l.tcp->sent[0];
  EXPECT_EQ(text[6], 7);
  EXPECT_EQ(text[17], 128);
  EXPECT_EQ(text[18], 6);
  EXPECT_EQ(Bytes(text.begin() + 19, text.end()), BytesOf("status"));
  EXPECT_EQ(l.tcp->sent[1][6], 0);
  EXPECT_EQ(l.tcp->sent[1][17], 141);
  EXPECT_EQ(l.window.tones, 0);
}

TEST(CommandLayer, RetryAfterOneFailureGivesOneToneAndSendsTheSameRequest) {
  Layer l;
  l.ConnectTcp();
  l.TcpAnswers("12", 1);
  l.data[0] = 0x10;
  l.data[1] = 0x00;
  l.data[2] = 0x03;
  l.data[3] = 0x00;
  EXPECT_EQ(l.layer.SendBinaryCommand(132, 4, l.data.data()), 2);
  EXPECT_EQ(l.window.tones, 1);
  ASSERT_EQ(l.tcp->sent.size(), 2u);
  EXPECT_EQ(test::RequestId(l.tcp->sent[1]), test::RequestId(l.tcp->sent[0]) + 1);
  EXPECT_EQ(Bytes(l.tcp->sent[0].begin() + 2, l.tcp->sent[0].end()),
            Bytes(l.tcp->sent[1].begin() + 2, l.tcp->sent[1].end()));
  EXPECT_TRUE(l.window.connectDown);
}

TEST(CommandLayer, EmptyReplyCountsAsFailureAndLeavesTheRequestIntact) {
  Layer l;
  l.ConnectTcp();
  l.tcp->responder = [n = 0](FakeTcpChannel::Shared& s, const Bytes& req) mutable {
    s.incoming.push_back(
        TunnelResponse(test::RequestId(req), n++ == 0 ? Bytes{} : BytesOf("done\r\nOK\r\n")));
  };
  EXPECT_EQ(l.Text("status"), 10);
  ASSERT_EQ(l.tcp->sent.size(), 2u);
  EXPECT_EQ(Bytes(l.tcp->sent[1].begin() + 19, l.tcp->sent[1].end()), BytesOf("status"));
  EXPECT_EQ(l.window.tones, 1);
}

TEST(CommandLayer, TwoTcpFailuresReleaseTheButtonsStopTheTimerAndKeepTheSocket) {
  Layer l;
  l.ConnectTcp();
  l.window.timer1Enabled = true;
  EXPECT_EQ(l.layer.SendBinaryCommand(141, 0, l.data.data()), -1);
  EXPECT_EQ(l.window.tones, 2);
  EXPECT_FALSE(l.window.connectDown);
  EXPECT_EQ(l.window.timer1Enabled, false);
  EXPECT_EQ(l.window.timerBtnReleases, 1);
  EXPECT_NE(l.layer.State().tcpSocket, nullptr);
  EXPECT_FALSE(l.tcp->closed);
  EXPECT_EQ(l.layer.State().failureCount, 0) << "coded commands are not counted";
}

TEST(CommandLayer, LongTextReplyOverTcpArrivesWholeWithoutStaleBytes) {
  Layer l;
  l.ConnectTcp();
  std::string longReply(600, 'L');
  longReply += "\r\nOK\r\n";
  l.TcpAnswers(longReply);
  ASSERT_EQ(l.Text("dump"), static_cast<int>(longReply.size()));
  EXPECT_EQ(std::string(l.reply.data()), longReply);
  l.TcpAnswers("short\r\nOK\r\n");
  ASSERT_EQ(l.Text("status"), 11);
  EXPECT_EQ(std::string(l.reply.data()), "short\r\nOK\r\n");
}

TEST(CommandLayer, OverlongTextCommandsAreRefusedBeforeSending) {
  struct Case {
    bool tcp;
    std::size_t length;
    bool refused;
  };
  const Case cases[] = {{true, 255, false}, {true, 256, true}, {false, 4095, false}, {false, 4096, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    Layer l;
    if (c.tcp) {
      l.ConnectTcp();
      l.TcpAnswers("OK\r\n");
    } else {
      l.ConnectSerial();
      l.serial->responder = [](FakeSerialChannel::Shared& s, const Bytes&) { s.Queue(BytesOf("OK\r\n")); };
    }
    const int result = l.Text(std::string(c.length, 'c'));
    const std::size_t sends = c.tcp ? l.tcp->sent.size() : l.serial->written.size();
    if (c.refused) {
      EXPECT_EQ(result, -1);
      EXPECT_EQ(l.window.tones, 1);
      EXPECT_EQ(sends, 0u);
    } else {
      EXPECT_GT(result, 0);
      EXPECT_EQ(l.window.tones, 0);
      EXPECT_EQ(sends, 1u);
    }
    EXPECT_EQ(l.layer.State().failureCount, 0);
  }
}

TEST(CommandLayer, FifthFailedTextCommandDisconnectsAndTheCountNeverResets) {
  Layer l;
  l.ConnectSerial();
  // Every other command fails (no reply at all).
  l.serial->responder = [n = 0](FakeSerialChannel::Shared& s, const Bytes&) mutable {
    if (n++ % 2 == 1) s.Queue(BytesOf("fine\r\nOK\r\n"));
  };
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(l.Text("status"), -1);
    EXPECT_EQ(l.Text("status"), 9);
  }
  EXPECT_TRUE(l.window.connectDown);
  EXPECT_EQ(l.window.tones, 0);
  EXPECT_EQ(l.Text("status"), -1);
  EXPECT_EQ(l.layer.State().failureCount, 5);
  EXPECT_FALSE(l.window.connectDown);
  EXPECT_EQ(l.window.panels[0], "Disonnected");
  EXPECT_EQ(l.window.tones, 2);
  EXPECT_TRUE(l.serial->closed);
  EXPECT_EQ(l.layer.State().serialPort, nullptr);

  l.ConnectSerial();
  l.serial->responder = nullptr;
  EXPECT_EQ(l.Text("status"), -1);
  EXPECT_FALSE(l.window.connectDown) << "the sixth failure disconnects at once";
  EXPECT_EQ(l.layer.State().failureCount, 6);
}

TEST(CommandLayer, SerialRoutingAndBackToTcp) {
  Layer l;
  l.ConnectTcp();
  l.TcpAnswers("x");
  EXPECT_EQ(l.layer.SendBinaryCommand(199, 0, l.data.data()), 1);
  EXPECT_EQ(l.tcp->sent.size(), 1u);

  l.layer.CloseLink();
  l.ConnectSerial();
  l.serial->responder = [](FakeSerialChannel::Shared& s, const Bytes& out) {
    if (out.size() == 1) return;  // our ACK
    if (out.back() == '\r') {
      s.Queue(BytesOf("serial text\r\nOK\r\n"));
    } else {
      s.Queue({kAck});
      s.Queue(BuildSerialFrame(1, out[1], Bytes{0x2A}));
    }
  };
  EXPECT_EQ(l.layer.SendBinaryCommand(199, 0, l.data.data()), 1);
  EXPECT_EQ(l.data[0], 0x2A);
  EXPECT_EQ(l.serial->written[0], (Bytes{0x08, 199, 0x08 ^ 199}));
  EXPECT_EQ(l.Text("status"), 16);
  EXPECT_EQ(l.serial->written.back(), BytesOf("status\r"));
  EXPECT_EQ(l.tcp->sent.size(), 1u);

  l.layer.Disconnect();
  EXPECT_FALSE(l.layer.State().serialLink);
  l.ConnectTcp();
  EXPECT_EQ(l.layer.SendBinaryCommand(199, 0, l.data.data()), 1);
  EXPECT_EQ(l.tcp->sent.size(), 2u);
}

TEST(CommandLayer, SerialFrameFailuresReachTheCallerUncounted) {
  Layer l;
  l.ConnectSerial();
  l.serial->responder = [](FakeSerialChannel::Shared& s, const Bytes&) { s.Queue({kNak}); };
  EXPECT_EQ(l.layer.SendBinaryCommand(141, 0, l.data.data()), -5);
  EXPECT_EQ(l.layer.State().failureCount, 0);
  EXPECT_EQ(l.window.tones, 0);
  EXPECT_TRUE(l.window.connectDown);
}

TEST(CommandLayer, SerialBannerIsShownInTheThirdPanel) {
  Layer l;
  l.ConnectSerial();
  l.serial->responder = [](FakeSerialChannel::Shared& s, const Bytes&) {
    s.Queue(BytesOf("Torvelmandra 3.2\r\nOK\r\n"));
  };
  EXPECT_EQ(l.Text("software"), 21);
  EXPECT_EQ(l.window.panels[2], "Torvelmandra 3.2\r\n");
}

TEST(CommandLayer, ShowCommandStatusTexts) {
  const struct {
    int result;
    std::uint8_t first;
    const char* text;
  } cases[] = {{1, 0, "OK"},
               {1, 255, "Problems:-1"},
               {1, 127, "Problems:127"},
               {1, 128, "Problems:-128"},
               {0, 0, "Not Connected"},
               {-1, 5, "Not Connected"},
               {4, 9, "OK"}};
  Layer l;
  for (const auto& c : cases) {
    l.layer.ShowCommandStatus(c.result, &c.first);
    EXPECT_EQ(l.window.panels[2], c.text) << c.result << " " << int(c.first);
  }
}

TEST(CommandLayer, DisconnectWithoutLinkStillShowsTheState) {
  Layer l;
  l.window.connectDown = true;
  l.window.panels[1] = " Model:QX";
  l.layer.Disconnect();
  EXPECT_EQ(l.window.panels[0], "Disonnected");
  EXPECT_EQ(l.window.panels[1], " Model:QX");
  EXPECT_FALSE(l.window.connectDown);
  EXPECT_EQ(l.window.tones, 2);
}

TEST(CommandLayer, DisconnectClosesTheTcpSocket) {
  Layer l;
  l.ConnectTcp();
  l.layer.Disconnect();
  EXPECT_TRUE(l.tcp->closed);
  EXPECT_EQ(l.layer.State().tcpSocket, nullptr);
}

TEST(CommandLayer, DefaultTimeoutsAreTheInstrumentsOwn) {
  const LinkTimeouts t;
  EXPECT_EQ(t.tcpWait, 4000ms);
  EXPECT_EQ(t.tcpConnect, 21000ms);
  EXPECT_EQ(t.serialPerByte, 5ms);
  EXPECT_EQ(t.serialConstant, 1000ms);
}

}  // namespace
}  // namespace varnok
