// The wire trace against the instrument simulator: one line per exchange over loopback TCP and over a
// pseudo-terminal, with the retry and the tone marked and the serial frames and acknowledgements shown
// as such.
#include <gtest/gtest.h>

#include <array>
#include <mutex>
#include <regex>

#include "link/AsioLinkOpener.h"
#include "link/CommandLayer.h"
#include "link/ConnectionManager.h"
#include "tests/link/LinkFakes.h"
#include "tools/varnok-sim/SimServer.h"
#include "link/WireTrace.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;
using test::FakeLinkWindow;

LinkTimeouts Quick() {
  LinkTimeouts t;
  t.tcpWait = 1000ms;  // long enough that a loaded machine never turns an answer into a retry
  t.tcpConnect = 2000ms;
  t.serialPerByte = 1ms;
  t.serialConstant = 250ms;
  return t;
}

// 2026-12-10 09:41:19.123 UTC
std::chrono::system_clock::time_point FixedTime() {
  return std::chrono::system_clock::time_point(std::chrono::milliseconds(1796895679123LL));
}

// The bytes in hexadecimal, without the direction and the ASCII column.
std::string Hex(const std::uint8_t* bytes, int count) {
  const std::string segment = FormatTraceBytes('<', std::vector<std::uint8_t>(bytes, bytes + count));
  return segment.substr(2, segment.find(" |") - 2);
}

struct TracedConsole {
  TracedConsole()
      : sim([] {
          sim::SimOptions o;
          o.tcpPort = 0;
#ifndef _WIN32
          o.serial = true;  // a pseudo-terminal; under Windows the serial side is driven through COMn instead
#endif
          return o;
        }()) {
    sim.Start();
    layer.SetWireTrace(&wire);
  }
  std::vector<std::string> Lines() {
    std::lock_guard lock(mutex);
    return lines;
  }
  void Connect(const std::string& address) {
    window.connectDown = true;
    ASSERT_EQ(manager.ConnectBtnClick(address, "502").outcome, ConnectOutcome::Connected);
    std::lock_guard lock(mutex);
    lines.clear();  // the model query's line
  }
  int Code(std::uint8_t code) { return layer.SendBinaryCommand(code, 0, data.data()); }

  sim::SimServer sim;
  std::mutex mutex;
  std::vector<std::string> lines;
  WireTrace wire{[this](const std::string& line) {
                   std::lock_guard lock(mutex);
                   lines.push_back(line);
                 },
                 FixedTime};
  FakeLinkWindow window;
  CommandLayer layer{window, Quick()};
  AsioLinkOpener opener{Quick(), wire.TransportTrace()};
  ConnectionManager manager{layer, window, opener};
  std::array<std::uint8_t, kBinaryDataSize> data{};
};

TEST(WireTraceSim, TcpExchangeIsOneLineWithRequestReplyAndResult) {
  TracedConsole c;
  c.Connect("127.0.0.1:" + std::to_string(c.sim.TcpPort()));
  const int result = c.Code(141);
  ASSERT_GT(result, 6);
  const auto lines = c.Lines();
  ASSERT_EQ(lines.size(), 1u);
  // Transaction 2 (the model query was 1), function 23, the code 141 (0x8D) and no data.
  EXPECT_TRUE(
      lines[0].starts_with("2026-12-10 09:41:19.123 TCP code 141 "
                           "> 00 02 00 00 00 0D 00 17 FF FF 00 00 FF FF 00 01 00 8D 00 |...................| "
                           "< 00 02 00 00 00 "))
      << lines[0];
  // The response ends with the reply data the caller received.
  const std::string tail = lines[0].substr(lines[0].rfind(" |"));
  EXPECT_TRUE(lines[0].ends_with(Hex(c.data.data(), result) + tail)) << lines[0];
  EXPECT_TRUE(tail.ends_with("| result " + std::to_string(result))) << lines[0];
}

TEST(WireTraceSim, RetryAndToneAreMarked) {
  TracedConsole c;
  c.Connect("127.0.0.1:" + std::to_string(c.sim.TcpPort()));
  c.sim.ArmFault("noreply");
  const int result = c.Code(141);
  ASSERT_GT(result, 6);
  EXPECT_EQ(c.window.tones, 1);
  const auto lines = c.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(
      std::regex_match(lines[0], std::regex("^\\S+ \\S+ TCP code 141 > 00 02 [^<]*\\| result -\\d+ tone$")))
      << "first attempt: sent, nothing received, failed, a tone: " << lines[0];
  EXPECT_TRUE(
      std::regex_match(lines[1], std::regex("^\\S+ \\S+ TCP code 141 retry > 00 03 .* < 00 03 .* result " +
                                            std::to_string(result) + "$")))
      << "the retry succeeds without a tone: " << lines[1];
}

// The in-process simulator's serial side is a pseudo-terminal, which Windows does not have; there the
// serial wire is checked with the programs over a COM port (tests/windows).
#ifndef _WIN32
TEST(WireTraceSim, SerialFramesAndAcknowledgements) {
  struct Case {
    const char* fault;
    const char* pattern;
  };
  const Case cases[] = {
      // The request frame, the instrument's ACK, its reply frame and our ACK.
      {"none",
       "^\\S+ \\S+ serial frame code 141 > 08 8D 85 \\|...\\| \\(frame\\) < ACK < [0-9A-F]{2} 8D "
       "([0-9A-F]{2} )+"
       "\\|[^|]*\\| \\(frame\\) > ACK result \\d+$"},
      // The instrument refuses the request frame.
      {"nak", "^\\S+ \\S+ serial frame code 141 > 08 8D 85 \\|...\\| \\(frame\\) < NAK result -5$"},
      // A reply frame with a wrong check byte is answered with NAK.
      {"badcheck",
       "^\\S+ \\S+ serial frame code 141 > 08 8D 85 \\|...\\| \\(frame\\) < ACK < .* \\(frame\\) > NAK "
       "result -4$"},
  };
  TracedConsole c;
  c.Connect(c.sim.SerialPath());
  for (const Case& k : cases) {
    SCOPED_TRACE(k.fault);
    {
      std::lock_guard lock(c.mutex);
      c.lines.clear();
    }
    c.sim.ArmFault(k.fault);
    c.Code(141);
    const auto lines = c.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(k.pattern))) << lines[0];
  }
}

TEST(WireTraceSim, SerialTextCommand) {
  TracedConsole c;
  c.Connect(c.sim.SerialPath());
  std::array<char, kTextReplySize> reply{};
  const int result = c.layer.SendTextCommand("status", reply.data());
  ASSERT_GT(result, 0);
  const auto lines = c.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(
      std::regex_match(lines[0], std::regex("^\\S+ \\S+ serial text > 73 74 61 74 75 73 0D \\|status\\.\\| "
                                            "< .*4F 4B 0D 0A \\|.*OK\\.\\.\\| result " +
                                            std::to_string(result) + "$")))
      << lines[0];
}
#endif  // _WIN32

}  // namespace
}  // namespace varnok
