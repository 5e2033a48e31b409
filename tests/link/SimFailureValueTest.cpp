// Every failure value of the two links, each provoked by the simulator over a real loopback socket or a
// real pseudo-terminal: what the exchange returns, what the simulator received (the console's ACK and
// NAK bytes, the unit of each coded request) and that the line is usable again afterwards. One CTest
// entry per case, so the cases with waits run side by side.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <thread>

#include "link/CommandCodes.h"
#include "link/CommandLayer.h"
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

// ---- TCP ----

enum class Before {
  kNothing,
  kFillSendBuffer,  // the peer stopped reading: the test fills the (small) send buffer first
  kResetExchange,   // an exchange that the peer answers with a reset (-9) comes first
};

struct TcpCase {
  const char* name;
  const char* fault;
  int expected;  // the value of the exchange under the fault; >= 0: the reply length
  Bytes block;   // the value block asked for
  std::chrono::milliseconds wait = 300ms;
  Before before = Before::kNothing;
  bool lineUsableAfter = true;
  std::chrono::milliseconds settle = 100ms;  // before the exchange that shows the line usable again
};

void PrintTo(const TcpCase& c, std::ostream* os) { *os << c.name; }

class SimTcpFailure : public ::testing::TestWithParam<TcpCase> {};

TEST_P(SimTcpFailure, GivesItsValue) {
  const TcpCase& k = GetParam();
  sim::SimOptions options;
  options.tcpPort = 0;
  sim::SimServer sim(options);
  sim.Start();
  auto tcp = TcpTransport::Connect("127.0.0.1", sim.TcpPort(), 2000ms);
  ASSERT_NE(tcp, nullptr);
  TransactionCounter counter;
  std::array<std::uint8_t, kBinaryDataSize> reply{};
  // A first exchange, so that stale replies have earlier identifiers to carry.
  ASSERT_GE(TunnelTransaction(tcp.get(), counter, 0, cmd::kReadClock, {}, reply.data(), 300ms), 7);

  sim.ArmFault(k.fault);
  if (k.before == Before::kFillSendBuffer) {
    ASSERT_TRUE(tcp->SetSendBufferSize(4096));
    // The request that meets the fault is read, never answered; nothing after it is read.
    EXPECT_EQ(TunnelTransaction(tcp.get(), counter, 0, cmd::kReadClock, {}, reply.data(), 300ms),
              kTunnelNoResponse);
    std::vector<std::uint8_t> junk(16384, 0x20);
    long queued = 0;
    // Until the kernel holds no more: the simulator's receive buffer and then ours are full.
    for (int round = 0; round < 100000 && tcp->WaitWritable(100ms); ++round) {
      const int n = tcp->Send(junk.data(), junk.size());
      if (n > 0) queued += n;
    }
    EXPECT_GT(queued, 0);
  }
  if (k.before == Before::kResetExchange) {
    EXPECT_EQ(TunnelTransaction(tcp.get(), counter, 0, cmd::kReadClock, {}, reply.data(), 300ms),
              kTunnelClosed);
  }

  reply.fill(0xAA);
  const int result =
      TunnelTransaction(tcp.get(), counter, 0, cmd::kReadValueBlock, k.block, reply.data(), k.wait);
  EXPECT_EQ(result, k.expected);
  if (k.expected < 0) {
    EXPECT_EQ(reply[0], 0xAA) << "nothing is copied from a failed exchange";
  } else {
    float first = 0;
    std::memcpy(&first, reply.data(), 4);
    EXPECT_NEAR(first, 24.0, 0.1) << "value 0 of the block, the 24 V supply";
    EXPECT_EQ(reply[static_cast<std::size_t>(result)], 0) << "the reply is zero-terminated";
  }

  // Every request the simulator received carried the unit the exchange gave, 0 for these coded ones.
  for (const auto& s : sim.ReceivedSummaries()) {
    EXPECT_TRUE(s.tcp);
    EXPECT_FALSE(s.text);
    EXPECT_EQ(s.unit, 0);
  }

  if (k.lineUsableAfter) {
    // Whatever the fault left on the line (the rest of a cut reply, a reply after the wait) is not taken
    // for the next reply: this one asks for another block size.
    std::this_thread::sleep_for(k.settle);
    const Bytes other = {200, 0, 10, 0};
    const auto wait = std::max<std::chrono::milliseconds>(k.wait, 2000ms);
    EXPECT_EQ(TunnelTransaction(tcp.get(), counter, 0, cmd::kReadValueBlock, other, reply.data(), wait), 40);
  }
}

const Bytes kBlock8 = {200, 0, 8, 0};      // values 200 to 207: a reply of 32 bytes
const Bytes kBlock100 = {200, 0, 100, 0};  // a reply of 400 bytes: a response longer than 266

INSTANTIATE_TEST_SUITE_P(
    EachValue, SimTcpFailure,
    ::testing::Values(TcpCase{"NotWritableWhenThePeerStopsReading", "stopread", kTunnelNotWritable, kBlock8,
                              300ms, Before::kFillSendBuffer, false},
                      TcpCase{"NotSentAfterTheConnectionWasReset", "reset", kTunnelNotSent, kBlock8, 300ms,
                              Before::kResetExchange, false},
                      TcpCase{"NoResponse", "noreply", kTunnelNoResponse, kBlock8},
                      TcpCase{"LateReplyAfterTheClientGaveUp", "delay:600", kTunnelNoResponse, kBlock8},
                      TcpCase{"NineBytes", "short:9", kTunnelShortResponse, kBlock8},
                      TcpCase{"TenBytes", "short:10", kTunnelShortResponse, kBlock8},
                      // The rest of a split comes 3.9 s later, inside the exchange's 4 s: it is not waited
                      // for. (Had the next request gone out before that rest arrived, the rest would meet
                      // that exchange as a short response; here it arrives first and is dropped.)
                      TcpCase{"SplitInsideTheHeaderWithAPauseNearFourSeconds", "split:5:3900",
                              kTunnelShortResponse, kBlock8, 4000ms, Before::kNothing, true, 4000ms},
                      TcpCase{"SplitAfterTheHeaderIsGathered", "split:11:50", 32, kBlock8, 4000ms},
                      TcpCase{"ExceptionWithAStaleIdentifier", "stale-exception", kTunnelException, kBlock8},
                      TcpCase{"FourStaleResponses", "stale:4", kTunnelClosed, kBlock8},
                      TcpCase{"ThreeStaleResponsesThenTheRightOne", "stale:3", 32, kBlock8},
                      TcpCase{"ClosedByThePeer", "close", kTunnelClosed, kBlock8, 300ms, Before::kNothing,
                              false},
                      // offset 10 says 16, the response is 411 bytes long: the size tells the reply length.
                      TcpCase{"LongReplyWhoseLengthByteIsNot255", "lenbyte:16", 400, kBlock100}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimTcpFailureValues, ConnectToAPortNobodyListensOn) {
  // The simulator's port once it stopped: refused.
  int port = 0;
  {
    sim::SimOptions options;
    options.tcpPort = 0;
    sim::SimServer sim(options);
    sim.Start();
    port = sim.TcpPort();
  }
  EXPECT_EQ(TcpTransport::Connect("127.0.0.1", port, 2000ms), nullptr);
}

// Through the command layer: coded requests carry unit 0 and text commands the unit address, the
// retry after a fault included.
TEST(SimTcpFailureValues, CodedRequestsCarryUnitZeroTextOnesTheUnitAddress) {
  sim::SimOptions options;
  options.tcpPort = 0;
  sim::SimServer sim(options);
  sim.Start();
  test::FakeLinkWindow window;
  window.unitAddress = 9;
  window.connectDown = true;
  LinkTimeouts quick;
  quick.tcpWait = 300ms;
  CommandLayer layer(window, quick);
  layer.State().tcpSocket = TcpTransport::Connect("127.0.0.1", sim.TcpPort(), 2000ms);
  ASSERT_NE(layer.State().tcpSocket, nullptr);
  std::array<std::uint8_t, kBinaryDataSize> data{};
  sim.ArmFault("stale:4");
  EXPECT_GE(layer.SendBinaryCommand(cmd::kReadClock, 0, data.data()), 7);  // -9, then the retry
  std::array<char, kTextReplySize> text{};
  sim.ArmFault("stale-exception");
  EXPECT_GT(layer.SendTextCommand("status", text.data()), 0);  // -8, then the retry
  EXPECT_EQ(window.tones, 2);

  const auto summaries = sim.ReceivedSummaries();
  ASSERT_EQ(summaries.size(), 4u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_FALSE(summaries[i].text);
    EXPECT_EQ(summaries[i].code, cmd::kReadClock);
    EXPECT_EQ(summaries[i].unit, 0) << i;
  }
  for (std::size_t i = 2; i < 4; ++i) {
    EXPECT_TRUE(summaries[i].text);
    EXPECT_EQ(summaries[i].unit, 9) << i;
  }
}

// ---- serial ----

struct SerialCase {
  const char* name;
  const char* fault;
  int expected;        // the framed transaction's value; >= 0: the reply length
  Bytes acknowledged;  // what the console sent back after the reply frame
  bool lineUsableAfter = true;
};

void PrintTo(const SerialCase& c, std::ostream* os) { *os << c.name; }

class SimSerialFailure : public ::testing::TestWithParam<SerialCase> {};

TEST_P(SimSerialFailure, GivesItsValue) {
  const SerialCase& k = GetParam();
  sim::SimOptions options;
  options.tcp = false;
  options.serial = true;
  sim::SimServer sim(options);
  sim.Start();
  LinkTimeouts quick;
  quick.serialPerByte = 1ms;
  quick.serialConstant = 250ms;
  auto port = SerialTransport::Open(sim.SerialPath(), quick);
  ASSERT_NE(port, nullptr);

  std::array<std::uint8_t, kBinaryDataSize> data{};
  const Bytes block = {0, 0, 8, 0};
  auto exchange = [&] {
    std::copy(block.begin(), block.end(), data.begin());
    return SerialFramedTransaction(*port, cmd::kReadValueBlock, 4, data.data());
  };
  sim.ArmFault(k.fault);
  EXPECT_EQ(exchange(), k.expected);
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(sim.ReceivedAcknowledgements(), k.acknowledged);
  const auto requests = sim.ReceivedRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], (Bytes{0x0C, cmd::kReadValueBlock, 0, 0, 8, 0, 0x0C ^ cmd::kReadValueBlock ^ 8}));

  if (k.lineUsableAfter) {
    std::this_thread::sleep_for(300ms);  // the rest of a cut reply has arrived and is dropped
    EXPECT_EQ(exchange(), 32);
    Bytes after = k.acknowledged;
    after.push_back(kAck);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(sim.ReceivedAcknowledgements(), after);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EachValue, SimSerialFailure,
    ::testing::Values(SerialCase{"Answered", "none", 32, {kAck}},
                      SerialCase{"AnsweredInTwoParts", "split:1:100", 32, {kAck}},
                      SerialCase{"AcknowledgementReadFails", "hangup", kSerialReadFailed, {}, false},
                      SerialCase{"NoAcknowledgement", "noreply", kSerialNoBytes, {}},
                      SerialCase{"Nak", "nak", kSerialNak, {}},
                      SerialCase{"NeitherAckNorNak", "ackbyte:63", kSerialNotAck, {}},
                      SerialCase{"ReplyReadFails", "hangup:1", kSerialReadFailed, {}, false},
                      SerialCase{"FewerThanThreeReplyBytes", "short:2", kSerialNoBytes, {}},
                      SerialCase{"ReplyCheckFails", "badcheck", kSerialBadCheck, {kNak}},
                      SerialCase{"ReplyBodyStopsShort", "bodycut", kSerialBadCheck, {kNak}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimSerialFailureValues, OpeningADeviceThatDoesNotExist) {
  EXPECT_EQ(SerialTransport::Open("/dev/varnok-no-such-port"), nullptr);
}

}  // namespace
}  // namespace varnok
