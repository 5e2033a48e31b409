#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "link/LinkTrace.h"

namespace varnok {

enum class TraceTransport { Tcp, SerialText, SerialFrame };

// One exchange on the wire: what went out and came back, in order, and how it ended.
struct WireExchange {
  struct Block {
    TraceDirection direction = TraceDirection::Sent;
    std::vector<std::uint8_t> bytes;
  };
  std::chrono::system_clock::time_point start;
  TraceTransport transport = TraceTransport::Tcp;
  std::optional<std::uint8_t> code;  // the command code; none for a serial text command
  bool retry = false;                // the second attempt of a TCP exchange
  std::vector<Block> blocks;         // consecutive blocks of one direction joined
  int result = 0;
  bool toneAfter = false;  // the error tone followed this attempt
};

// "2026-12-10 09:41:19.123": UTC, millisecond resolution.
std::string FormatTraceTime(std::chrono::system_clock::time_point time);

// "> 73 74 61 0D |sta.|": the bytes in hexadecimal and, between bars, as printable ASCII (other
// bytes as ".").
std::string FormatTraceBytes(char direction, const std::vector<std::uint8_t>& bytes);

// One line (without line end) for an exchange, shared by the trace file and varnok-cmd -v:
//   TIME TRANSPORT [code N] [retry] > REQUEST |ascii| < REPLY |ascii| result R [tone]
// Over serial frames each frame is marked "(frame)" and the acknowledgement bytes appear as ACK and
// NAK; over TCP bytes that were discarded before the request are marked "(discarded)".
std::string FormatWireExchange(const WireExchange& exchange);

// One line for something that happened beside an exchange (a tone, a disconnect).
std::string FormatWireEvent(std::chrono::system_clock::time_point time, const std::string& text);

// Collects the bytes of each exchange from the transports (on whatever thread the link runs) and the
// marks of the command layer, and hands one finished line per exchange to the sink. Safe to feed
// from the link thread while the calling thread begins and ends exchanges.
class WireTrace {
 public:
  using LineSink = std::function<void(const std::string& line)>;
  using Clock = std::function<std::chrono::system_clock::time_point()>;

  explicit WireTrace(
      LineSink sink, Clock clock = [] { return std::chrono::system_clock::now(); });

  // What the transports are opened with.
  LinkTrace TransportTrace();

  void Begin(TraceTransport transport, std::optional<std::uint8_t> code, bool retry);
  void End(int result, bool toneAfter);
  void Event(const std::string& text);

 private:
  void Bytes(TraceDirection direction, const std::uint8_t* bytes, std::size_t count);

  LineSink sink_;
  Clock clock_;
  std::mutex mutex_;
  std::optional<WireExchange> open_;
};

}  // namespace varnok
