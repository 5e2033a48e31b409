#include "link/WireTrace.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "link/SerialFrame.h"

namespace varnok {

namespace {

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
  static const char* kDigits = "0123456789ABCDEF";
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

std::string Segment(char direction, const std::uint8_t* bytes, std::size_t count) {
  std::string ascii;
  for (std::size_t i = 0; i < count; ++i) {
    ascii += bytes[i] >= 0x20 && bytes[i] < 0x7F ? static_cast<char>(bytes[i]) : '.';
  }
  return std::string(1, direction) + " " + Hex(bytes, count) + " |" + ascii + "|";
}

// The length of the serial frame at `bytes` (header, code, optional length byte, data, check), as
// far as the header tells; at least 3.
std::size_t FrameLength(const std::uint8_t* bytes, std::size_t available) {
  const std::size_t shortLength = bytes[0] & 7;
  if (shortLength < 7) return shortLength + 3;
  if (available < 3) return available;
  return static_cast<std::size_t>(bytes[2]) + 4;
}

enum class FramePart { Frame, Ack };

// A serial frame exchange: out go the request frame and then the acknowledgement of the reply; in
// come the acknowledgement of the request and then the reply frame. `next` counts the parts of this
// direction already shown; bytes beyond the two are shown plainly.
void AppendFramedBlock(std::string& line, const WireExchange::Block& block, const FramePart (&order)[2],
                       std::size_t& next) {
  const char direction = block.direction == TraceDirection::Sent ? '>' : '<';
  const std::uint8_t* p = block.bytes.data();
  std::size_t left = block.bytes.size();
  while (left > 0) {
    if (next >= 2) {
      line += " " + Segment(direction, p, left);
      return;
    }
    if (order[next++] == FramePart::Ack) {
      if (p[0] == kAck || p[0] == kNak) {
        line += std::string(" ") + direction + (p[0] == kAck ? " ACK" : " NAK");
      } else {
        line += " " + Segment(direction, p, 1) + " (neither ACK nor NAK)";
      }
      ++p;
      --left;
      continue;
    }
    const std::size_t whole = FrameLength(p, left);
    const std::size_t n = std::min(left, whole);
    line += " " + Segment(direction, p, n) + (n < whole ? " (cut frame)" : " (frame)");
    p += n;
    left -= n;
  }
}

const char* TransportName(TraceTransport transport) {
  switch (transport) {
    case TraceTransport::Tcp:
      return "TCP";
    case TraceTransport::SerialText:
      return "serial text";
    case TraceTransport::SerialFrame:
      return "serial frame";
  }
  return "?";
}

}  // namespace

std::string FormatTraceTime(std::chrono::system_clock::time_point time) {
  using namespace std::chrono;
  const auto ms = floor<milliseconds>(time);
  const auto day = floor<days>(ms);
  const year_month_day date(day);
  const hh_mm_ss<milliseconds> clock(ms - day);
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d.%03d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
  return text;
}

std::string FormatTraceBytes(char direction, const std::vector<std::uint8_t>& bytes) {
  return Segment(direction, bytes.data(), bytes.size());
}

std::string FormatWireExchange(const WireExchange& exchange) {
  std::string line = FormatTraceTime(exchange.start) + " " + TransportName(exchange.transport);
  if (exchange.code) line += " code " + std::to_string(*exchange.code);
  if (exchange.retry) line += " retry";
  static constexpr FramePart kSentOrder[2] = {FramePart::Frame, FramePart::Ack};
  static constexpr FramePart kReceivedOrder[2] = {FramePart::Ack, FramePart::Frame};
  std::size_t sentParts = 0, receivedParts = 0;
  bool requestSent = false;
  for (const auto& block : exchange.blocks) {
    const bool sent = block.direction == TraceDirection::Sent;
    if (exchange.transport == TraceTransport::SerialFrame) {
      if (sent) {
        AppendFramedBlock(line, block, kSentOrder, sentParts);
      } else {
        AppendFramedBlock(line, block, kReceivedOrder, receivedParts);
      }
      continue;
    }
    line += " " + FormatTraceBytes(sent ? '>' : '<', block.bytes);
    if (!sent && !requestSent && exchange.transport == TraceTransport::Tcp) line += " (discarded)";
    if (sent) requestSent = true;
  }
  line += " result " + std::to_string(exchange.result);
  if (exchange.toneAfter) line += " tone";
  return line;
}

std::string FormatWireEvent(std::chrono::system_clock::time_point time, const std::string& text) {
  return FormatTraceTime(time) + " " + text;
}

WireTrace::WireTrace(LineSink sink, Clock clock) : sink_(std::move(sink)), clock_(std::move(clock)) {}

LinkTrace WireTrace::TransportTrace() {
  return [this](TraceDirection direction, const std::uint8_t* bytes, std::size_t count) {
    Bytes(direction, bytes, count);
  };
}

void WireTrace::Begin(TraceTransport transport, std::optional<std::uint8_t> code, bool retry) {
  std::lock_guard lock(mutex_);
  open_ = WireExchange{};
  open_->start = clock_();
  open_->transport = transport;
  open_->code = code;
  open_->retry = retry;
}

void WireTrace::End(int result, bool toneAfter) {
  std::string line;
  {
    std::lock_guard lock(mutex_);
    if (!open_) return;
    open_->result = result;
    open_->toneAfter = toneAfter;
    line = FormatWireExchange(*open_);
    open_.reset();
  }
  sink_(line);
}

void WireTrace::Event(const std::string& text) {
  const std::string line = FormatWireEvent(clock_(), text);
  sink_(line);
}

void WireTrace::Bytes(TraceDirection direction, const std::uint8_t* bytes, std::size_t count) {
  if (count == 0) return;
  std::string line;
  {
    std::lock_guard lock(mutex_);
    if (open_) {
      auto& blocks = open_->blocks;
      if (blocks.empty() || blocks.back().direction != direction) blocks.push_back({direction, {}});
      blocks.back().bytes.insert(blocks.back().bytes.end(), bytes, bytes + count);
      return;
    }
    line =
        FormatWireEvent(clock_(), "outside an exchange " +
                                      Segment(direction == TraceDirection::Sent ? '>' : '<', bytes, count));
  }
  sink_(line);
}

}  // namespace varnok
