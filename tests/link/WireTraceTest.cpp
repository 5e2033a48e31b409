// The trace line formatter on exchanges the simulator cannot easily produce, and the trace file
// writer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "link/TraceFileWriter.h"
#include "link/WireTrace.h"

namespace varnok {
namespace {

using Bytes = std::vector<std::uint8_t>;

WireExchange Exchange(TraceTransport transport, std::vector<WireExchange::Block> blocks, int result) {
  WireExchange e;
  e.start = std::chrono::system_clock::time_point(std::chrono::milliseconds(1796895679005LL));
  e.transport = transport;
  e.code = 141;
  e.blocks = std::move(blocks);
  e.result = result;
  return e;
}

constexpr auto kOut = TraceDirection::Sent;
constexpr auto kIn = TraceDirection::Received;

TEST(WireTraceFormat, SplitsSerialStreamsIntoFramesAndAcknowledgements) {
  struct Case {
    const char* what;
    WireExchange exchange;
    const char* line;
  };
  const Case cases[] = {
      {"ACK and reply frame arrive in one block",
       Exchange(TraceTransport::SerialFrame,
                {{kOut, {0x08, 0x8D, 0x85}}, {kIn, {0x06, 0x09, 0x8D, 0x41, 0xC5}}, {kOut, {0x06}}}, 1),
       "2026-12-10 09:41:19.005 serial frame code 141 > 08 8D 85 |...| (frame) < ACK < 09 8D 41 C5 |..A.| "
       "(frame) "
       "> ACK result 1"},
      {"a long frame cut short, answered with NAK",
       Exchange(TraceTransport::SerialFrame,
                {{kOut, {0x08, 0x8D, 0x85}}, {kIn, {0x06, 0x0F, 0x8D, 0x09, 0x31, 0x32}}, {kOut, {0x15}}},
                -4),
       "2026-12-10 09:41:19.005 serial frame code 141 > 08 8D 85 |...| (frame) < ACK < 0F 8D 09 31 32 "
       "|...12| "
       "(cut frame) > NAK result -4"},
      {"an answer that is neither ACK nor NAK",
       Exchange(TraceTransport::SerialFrame, {{kOut, {0x08, 0x8D, 0x85}}, {kIn, {0x41}}}, -6),
       "2026-12-10 09:41:19.005 serial frame code 141 > 08 8D 85 |...| (frame) < 41 |A| (neither ACK nor "
       "NAK) "
       "result -6"},
      {"stale TCP bytes read before the request",
       Exchange(TraceTransport::Tcp, {{kIn, {0x00, 0x07}}, {kOut, {0x00, 0x08}}, {kIn, {0x00, 0x08, 0x7F}}},
                -5),
       "2026-12-10 09:41:19.005 TCP code 141 < 00 07 |..| (discarded) > 00 08 |..| < 00 08 7F |...| result "
       "-5"},
  };
  for (const Case& k : cases) EXPECT_EQ(FormatWireExchange(k.exchange), k.line) << k.what;
}

TEST(WireTraceFormat, BlocksOfOneDirectionJoinAndRetryAndToneAreMarked) {
  std::vector<std::string> lines;
  WireTrace trace(
      [&](const std::string& line) { lines.push_back(line); },
      [] { return std::chrono::system_clock::time_point(std::chrono::milliseconds(1796895679999LL)); });
  const LinkTrace bytes = trace.TransportTrace();
  const std::uint8_t a[] = {'s', 't'}, b[] = {'a', '\r'}, c[] = {'O', 'K'};
  trace.Begin(TraceTransport::Tcp, 128, true);
  bytes(kOut, a, 2);
  bytes(kOut, b, 2);
  bytes(kIn, c, 2);
  trace.End(-1, true);
  trace.Event("tone");
  bytes(kIn, c, 1);  // nothing open: shown on a line of its own, not lost
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "2026-12-10 09:41:19.999 TCP code 128 retry > 73 74 61 0D |sta.| < 4F 4B |OK| result -1 tone");
  EXPECT_EQ(lines[1], "2026-12-10 09:41:19.999 tone");
  EXPECT_EQ(lines[2], "2026-12-10 09:41:19.999 outside an exchange < 4F |O|");
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(TraceFileWriter, EachLineReachesTheFileWhileTheWriterLives) {
  const std::string path = ::testing::TempDir() + "wire-trace-" + std::to_string(::getpid()) + ".txt";
  std::remove(path.c_str());
  {
    std::ofstream(path, std::ios::binary) << "earlier run\n";
    auto writer = TraceFileWriter::Open(path);
    ASSERT_TRUE(writer);
    writer->Write("first");
    writer->Write("second");
    // Flushed line by line: the lines are in the file without closing it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ReadAll(path) != "earlier run\nfirst\nsecond\n" && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(ReadAll(path), "earlier run\nfirst\nsecond\n") << "appended, one line each";
    writer->Write("last");
  }
  EXPECT_EQ(ReadAll(path), "earlier run\nfirst\nsecond\nlast\n") << "what was queued is written at the end";
  std::remove(path.c_str());
  EXPECT_FALSE(TraceFileWriter::Open(::testing::TempDir() + "no-such-folder/trace.txt"));
}

}  // namespace
}  // namespace varnok

namespace varnok {
namespace {

TEST(WireTraceFormat, TimeIsUtcToTheMillisecond) {
  using namespace std::chrono;
  const auto at = [](int y, unsigned m, unsigned d, hours h, minutes mi, seconds s, milliseconds ms) {
    return system_clock::time_point(sys_days{year{y} / month{m} / day{d}} + h + mi + s + ms);
  };
  EXPECT_EQ(FormatTraceTime(at(2026, 12, 10, 8h, 40min, 5s, 7ms)), "2026-12-10 08:40:05.007");
  EXPECT_EQ(FormatTraceTime(at(2000, 2, 29, 23h, 59min, 59s, 999ms)), "2000-02-29 23:59:59.999");
  EXPECT_EQ(FormatTraceTime(at(1970, 1, 1, 0h, 0min, 0s, 0ms)), "1970-01-01 00:00:00.000");
}

}  // namespace
}  // namespace varnok
