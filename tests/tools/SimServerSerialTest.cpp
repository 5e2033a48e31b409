// The simulator on a real pseudo-terminal: line mode, frames, acknowledgements and faults.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tools/varnok-sim/InstrumentState.h"
#include "tools/varnok-sim/SimServer.h"
#include "tests/tools/SimTestClients.h"

namespace varnok::sim {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::FrameBytes;
using testing::PtyClient;

class SimServerSerial : public ::testing::Test {
 protected:
  void SetUp() override {
    SimOptions options;
    options.tcp = false;
    options.serial = true;
    server = std::make_unique<SimServer>(options);
    server->Start();
    ASSERT_FALSE(server->SerialPath().empty());
    port = std::make_unique<PtyClient>(server->SerialPath());
  }
  // Text command: its letters and CR; the reply up to its terminator line.
  std::string Text(const std::string& command) {
    port->Send(testing::ToBytes(command + "\r"));
    return testing::ToText(port->Receive(65536, 300ms).bytes);
  }
  std::unique_ptr<SimServer> server;
  std::unique_ptr<PtyClient> port;
};

TEST_F(SimServerSerial, AnswersTheModelQueryFrameWithAckAndAReplyFrame) {
  port->Send({0x08, 0x80, 0x88});
  const auto r = port->Receive(100);
  Bytes expected = {0x06};
  const Bytes frame = FrameBytes(0x80, testing::ToBytes("QX-7100A\r\nOK\r\n"));
  expected.insert(expected.end(), frame.begin(), frame.end());
  EXPECT_EQ(r.bytes, expected);
  EXPECT_EQ(frame[0], 0x0F);  // 14 data bytes: the long form
}

TEST_F(SimServerSerial, TextCommandsInLineMode) {
  const std::string status = Text("status");
  EXPECT_TRUE(status.ends_with("\r\nOK\r\n")) << status;
  EXPECT_TRUE(Text("nonsense").ends_with("\r\nNOK\r\n"));
  const std::string big = Text("sim text 5000");
  EXPECT_EQ(big.size(), 5000u);
  ASSERT_GE(server->ReceivedRequests().size(), 1u);
  EXPECT_EQ(server->ReceivedRequests()[0], testing::ToBytes("status\r"));
}

TEST_F(SimServerSerial, StoresWhatFramesWriteAndIgnoresTheConsolesAcks) {
  port->Send(FrameBytes(3, {0x34, 0x02}));
  EXPECT_EQ(port->Receive(100).bytes, (Bytes{0x06, 0x09, 0x03, 0x00, 0x0A}));
  port->Send({0x06});  // the console acknowledges the reply frame
  port->Send(FrameBytes(4, testing::ToBytes("0018000")));
  const auto r = port->Receive(100);
  ASSERT_EQ(r.bytes.size(), 5u);
  EXPECT_EQ(r.bytes[3], 0x00);
  server->WithState([](InstrumentState& s) {
    EXPECT_EQ(s.fanPosition, 0x0234);
    EXPECT_EQ(s.elevationCommand, "0018000");
    EXPECT_DOUBLE_EQ(s.elevationDegrees, 180.0);
  });
}

TEST_F(SimServerSerial, NaksAFrameWithAWrongCheck) {
  Bytes f = FrameBytes(141, {});
  f.back() ^= 0x40;
  port->Send(f);
  EXPECT_EQ(port->Receive(100).bytes, Bytes{0x15});
}

TEST_F(SimServerSerial, FrameFaultsOnTheWire) {
  // The request is the option-bits read; its normal answer is ACK and a 4-byte reply frame.
  const Bytes normal = FrameBytes(199, {0x02, 0, 0, 0});
  struct Case {
    const char* form;
    std::function<void(const testing::ReadResult&)> check;
  };
  const Case cases[] = {
      {"noreply", [](const auto& r) { EXPECT_TRUE(r.bytes.empty()); }},
      {"nak", [](const auto& r) { EXPECT_EQ(r.bytes, Bytes{0x15}); }},
      {"badcheck",
       [&](const auto& r) {
         ASSERT_EQ(r.bytes.size(), 1 + normal.size());
         EXPECT_EQ(r.bytes[0], 0x06);
         EXPECT_EQ(Bytes(r.bytes.begin() + 1, r.bytes.end() - 1), Bytes(normal.begin(), normal.end() - 1));
         EXPECT_NE(r.bytes.back(), normal.back());
       }},
      {"bodycut",
       [&](const auto& r) {
         ASSERT_GE(r.bytes.size(), 4u);  // ACK and at least the 3 header bytes
         ASSERT_LT(r.bytes.size(), 1 + normal.size());
         EXPECT_EQ(Bytes(r.bytes.begin() + 1, r.bytes.end()),
                   Bytes(normal.begin(), normal.begin() + (r.bytes.size() - 1)));
       }},
      {"short:2",
       [](const auto& r) {
         EXPECT_EQ(r.bytes, (Bytes{0x06, 0x0C, 0xC7}));
       }},
      {"refuse:199:9",
       [](const auto& r) {
         EXPECT_EQ(r.bytes, (Bytes{0x06, 0x09, 0xC7, 0x09, 0xC7}));
       }},
      {"split",
       [&](const auto& r) {
         Bytes expected = {0x06};
         expected.insert(expected.end(), normal.begin(), normal.end());
         EXPECT_EQ(r.bytes, expected);
         EXPECT_EQ(r.chunks.size(), 2u);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.form);
    server->ArmFault(c.form);
    port->Send(FrameBytes(199, {}));
    c.check(port->Receive(100, 300ms));
  }
  port->Send(FrameBytes(199, {}));
  EXPECT_EQ(port->Receive(100).bytes.size(), 1 + normal.size());
}

TEST_F(SimServerSerial, TextFaultsOnTheWire) {
  server->ArmFault("textcut");
  const std::string cut = Text("software");
  EXPECT_FALSE(cut.empty());
  EXPECT_EQ(cut.find('\n'), std::string::npos) << cut;  // stops inside the first line
  EXPECT_TRUE(std::string("Software: QX control").starts_with(cut.substr(0, 5)));

  server->ArmFault("banner");
  const std::string banner = Text("fault");
  EXPECT_TRUE(banner.starts_with("Torvelmandra")) << banner;
  EXPECT_TRUE(banner.ends_with("\r\nOK\r\n"));

  EXPECT_EQ(Text("sim fault noreply"), "OK\r\n");
  EXPECT_EQ(Text("line"), "");
  EXPECT_TRUE(Text("line").ends_with("OK\r\n"));
}

TEST_F(SimServerSerial, ServesTheConsoleAgainAfterItClosesThePort) {
  port.reset();
  std::this_thread::sleep_for(100ms);
  port = std::make_unique<PtyClient>(server->SerialPath());
  port->Send({0x08, 0x80, 0x88});
  EXPECT_EQ(port->Receive(100).bytes.size(), 1u + 18u);
}

TEST(SimServerSerialLink, LinksAStablePathWhileRunning) {
  const std::string link = ::testing::TempDir() + "varnok-sim-tty-" + std::to_string(::getpid());
  SimOptions options;
  options.tcp = false;
  options.serialLink = link;
  options.serial = true;
  {
    SimServer server(options);
    server.Start();
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), server.SerialPath());
    PtyClient port(link);
    port.Send({0x08, 141, 0x08 ^ 141});
    const auto r = port.Receive(100);
    ASSERT_EQ(r.bytes.size(), 1u + 11u);  // ACK, then 7 clock bytes in a long frame
    EXPECT_EQ(r.bytes[1], 0x0F);
  }
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

}  // namespace
}  // namespace varnok::sim
