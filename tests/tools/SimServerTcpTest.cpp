// The simulator on a real loopback socket: hand-written requests, the bytes on the wire.
#include <gtest/gtest.h>

#include "tools/varnok-sim/InstrumentState.h"
#include "tools/varnok-sim/SimServer.h"
#include "tests/tools/SimTestClients.h"

namespace varnok::sim {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::TcpClient;

std::uint16_t IdOf(const Bytes& r) { return static_cast<std::uint16_t>((r[0] << 8) | r[1]); }
Bytes ReplyOf(const Bytes& r) { return Bytes(r.begin() + 11, r.end()); }

class SimServerTcp : public ::testing::Test {
 protected:
  void SetUp() override {
    SimOptions options;
    options.tcpPort = 0;
    server = std::make_unique<SimServer>(options);
    server->Start();
    ASSERT_GT(server->TcpPort(), 0);
  }
  std::unique_ptr<SimServer> server;
};

TEST_F(SimServerTcp, AnswersTheModelQueryAsTheInstrumentDoes) {
  TcpClient client(server->TcpPort());
  const Bytes r = client.Exchange(1, 0x80, {});
  const std::string model = "QX-7100A\r\nOK\r\n";
  Bytes expected = {0x00, 0x01, 0x00, 0x00, 0x00, 0x13, 0x00, 0x17, 0x10, 0x00, 0x0E};
  expected.insert(expected.end(), model.begin(), model.end());
  EXPECT_EQ(r, expected);
  ASSERT_EQ(server->ReceivedRequests().size(), 1u);
  EXPECT_EQ(server->ReceivedRequests()[0],
            (Bytes{0, 1, 0, 0, 0, 0x0D, 0, 0x17, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 1, 0, 0x80, 0}));
}

TEST_F(SimServerTcp, TextRepliesKeepTheUnitAndMayExceed255Bytes) {
  TcpClient client(server->TcpPort());
  Bytes r = client.Exchange(7, 0x80, testing::ToBytes("status"), 3);
  ASSERT_GT(r.size(), 11u);
  EXPECT_EQ(r[6], 3);
  const std::string text = testing::ToText(ReplyOf(r));
  EXPECT_EQ(r[10], text.size());
  EXPECT_TRUE(text.ends_with("\r\nOK\r\n")) << text;

  r = client.Exchange(8, 0x80, testing::ToBytes("sim text 700"));
  ASSERT_EQ(r.size(), 711u);
  EXPECT_TRUE(testing::ToText(ReplyOf(r)).ends_with("OK\r\n"));
}

TEST_F(SimServerTcp, WritesACalibrationRowAndReadsItBack) {
  TcpClient client(server->TcpPort());
  Bytes write = {5, 0};  // row index 5
  for (int i = 0; i < 76; ++i) write.push_back(static_cast<std::uint8_t>(200 - i));
  Bytes r = client.Exchange(1, 7, write);
  EXPECT_EQ(ReplyOf(r), Bytes{0});
  r = client.Exchange(2, 167, {5, 0});
  EXPECT_EQ(r[10], 76);
  EXPECT_EQ(ReplyOf(r), Bytes(write.begin() + 2, write.end()));
  server->WithState([&](InstrumentState& s) {
    EXPECT_TRUE(std::equal(s.calibrationRows[5].begin(), s.calibrationRows[5].end(), write.begin() + 2));
  });
}

TEST_F(SimServerTcp, RefusesAMalformedRequestWithAnExceptionAndStaysUsable) {
  TcpClient client(server->TcpPort());
  Bytes bad = testing::TunnelRequestBytes(0x0203, 0, 141, {});
  bad[16] = 2;  // the Modbus byte count n + 2 instead of the instrument's n
  client.Send(bad);
  const auto r = client.Receive(100);
  EXPECT_EQ(r.bytes, (Bytes{0x02, 0x03, 0, 0, 0, 3, 0, 0x97, 0x03}));
  const Bytes good = client.Exchange(0x0204, 141, {});
  EXPECT_EQ(IdOf(good), 0x0204);
  EXPECT_EQ(good[10], 7);
}

TEST_F(SimServerTcp, StartFailsWhenThePortIsTaken) {
  SimOptions options;
  options.tcpPort = server->TcpPort();
  SimServer second(options);
  EXPECT_THROW(second.Start(), std::runtime_error);
}

TEST_F(SimServerTcp, ServesOneConnectionAfterAnother) {
  for (std::uint16_t id = 1; id <= 3; ++id) {
    TcpClient client(server->TcpPort());
    const Bytes r = client.Exchange(id, 199, {});
    EXPECT_EQ(IdOf(r), id);
    EXPECT_EQ(r[10], 4);
  }
}

// Each fault form as it shows on the wire; the request is the clock read with id 0x0100.
TEST_F(SimServerTcp, EveryFaultFormHasItsEffectOnTheWire) {
  struct Case {
    const char* form;
    std::function<void(const testing::ReadResult&)> check;
  };
  const Case cases[] = {
      {"noreply",
       [](const auto& r) {
         EXPECT_TRUE(r.bytes.empty());
         EXPECT_FALSE(r.closed);
       }},
      {"close",
       [](const auto& r) {
         EXPECT_TRUE(r.bytes.empty());
         EXPECT_TRUE(r.closed);
       }},
      {"exception",
       [](const auto& r) {
         EXPECT_EQ(r.bytes, (Bytes{0x01, 0x00, 0, 0, 0, 3, 0, 0x97, 0x04}));
       }},
      {"short:5",
       [](const auto& r) {
         EXPECT_EQ(r.bytes, (Bytes{0x01, 0x00, 0, 0, 0}));
       }},
      {"refuse:141:2",
       [](const auto& r) {
         ASSERT_EQ(r.bytes.size(), 12u);
         EXPECT_EQ(r.bytes[10], 1);
         EXPECT_EQ(r.bytes[11], 2);
       }},
      {"late-id",
       [](const auto& r) {
         ASSERT_EQ(r.bytes.size(), 15u + 18u);
         EXPECT_EQ(IdOf(r.bytes), 0x00FF);  // the earlier request's identifier first
         EXPECT_EQ(Bytes(r.bytes.begin() + 11, r.bytes.begin() + 15), testing::ToBytes("late"));
         const Bytes right(r.bytes.begin() + 15, r.bytes.end());
         EXPECT_EQ(IdOf(right), 0x0100);
         EXPECT_EQ(right[10], 7);
         EXPECT_GE(r.chunks.size(), 2u);
       }},
      {"split",
       [](const auto& r) {
         ASSERT_EQ(r.bytes.size(), 18u);
         EXPECT_EQ(IdOf(r.bytes), 0x0100);
         ASSERT_EQ(r.chunks.size(), 2u);
         EXPECT_EQ(r.chunks[0], 11u + 3u);  // header and half the reply first
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.form);
    TcpClient client(server->TcpPort());
    server->ArmFault(c.form);
    client.Send(testing::TunnelRequestBytes(0x0100, 0, 141, {}));
    c.check(client.Receive(200));
  }
  // Every one-shot fault was used up: the next request is answered normally.
  TcpClient client(server->TcpPort());
  EXPECT_EQ(client.Exchange(0x0101, 141, {}).size(), 18u);
}

TEST_F(SimServerTcp, BannerFaultPrefixesATextReply) {
  TcpClient client(server->TcpPort());
  server->ArmFault("banner");
  const Bytes model = client.Exchange(1, 0x80, {});  // the model query is not a text command
  EXPECT_EQ(testing::ToText(ReplyOf(model)), "QX-7100A\r\nOK\r\n");
  const std::string text = testing::ToText(ReplyOf(client.Exchange(2, 0x80, testing::ToBytes("fault"))));
  EXPECT_TRUE(text.starts_with("Torvelmandra")) << text;
  EXPECT_TRUE(text.ends_with("\r\nOK\r\n")) << text;
}

TEST_F(SimServerTcp, ControlCommandArmsAOneShotFault) {
  TcpClient client(server->TcpPort());
  const Bytes ok = client.Exchange(1, 0x80, testing::ToBytes("sim fault noreply"));
  EXPECT_EQ(testing::ToText(ReplyOf(ok)), "OK\r\n");
  client.Send(testing::TunnelRequestBytes(2, 0, 141, {}));
  EXPECT_TRUE(client.Receive(100).bytes.empty());
  EXPECT_EQ(IdOf(client.Exchange(3, 141, {})), 3);
}

TEST_F(SimServerTcp, PersistentFaultLastsUntilCleared) {
  server->SetFault("refuse:200:-3");
  TcpClient client(server->TcpPort());
  for (std::uint16_t id = 1; id <= 2; ++id) EXPECT_EQ(ReplyOf(client.Exchange(id, 200, {})), Bytes{0xFD});
  server->ClearFaults();
  EXPECT_EQ(ReplyOf(client.Exchange(3, 200, {})).size(), 4u);
}

}  // namespace
}  // namespace varnok::sim
