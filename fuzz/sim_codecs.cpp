// The simulator's codecs against the console's builders: whatever the console builds, the simulator
// reads back field for field, and whatever the simulator builds, the console reads back; every request
// the simulator accepts is exactly what the console would have built; odd bytes never crash either.
#include <algorithm>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "tools/varnok-sim/SerialCodec.h"
#include "tools/varnok-sim/TunnelCodec.h"
#include "link/SerialFrame.h"
#include "link/TunnelFrame.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Hands out the input's bytes in order, zeros once it runs out.
struct Reader {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
  Bytes Take(std::size_t n) {
    n = std::min(n, size);
    Bytes out(data, data + n);
    data += n;
    size -= n;
    return out;
  }
};

void TunnelRequestRoundTrip(Reader& in) {
  const auto id = static_cast<std::uint16_t>((in.Byte() << 8) | in.Byte());
  const std::uint8_t unit = in.Byte();
  const std::uint8_t code = in.Byte();
  const Bytes data = in.Take(in.Byte());
  const Bytes frame = varnok::BuildTunnelRequest(id, unit, code, data);
  FUZZ_CHECK(frame.size() == 19 + data.size());
  const auto size = varnok::sim::TunnelRequestSize(frame);
  FUZZ_CHECK(size && *size == frame.size());
  const auto decoded = varnok::sim::DecodeTunnelRequest(frame);
  FUZZ_CHECK(decoded.request);
  FUZZ_CHECK(decoded.request->transactionId == id && decoded.request->unit == unit &&
             decoded.request->code == code);
  FUZZ_CHECK(decoded.request->data == data);
}

void TunnelResponseRoundTrip(Reader& in) {
  const auto id = static_cast<std::uint16_t>((in.Byte() << 8) | in.Byte());
  const std::size_t n = ((std::size_t{in.Byte()} << 8) | in.Byte()) % (varnok::sim::kMaxTunnelReply + 1);
  Bytes reply = in.Take(n);
  reply.resize(n, 0x5A);
  const Bytes response = varnok::sim::BuildTunnelResponse(id, in.Byte(), reply);
  FUZZ_CHECK(response.size() == 11 + n);
  auto judged = varnok::JudgeTunnelResponse(response, id);
  FUZZ_CHECK(judged.verdict == varnok::TunnelVerdict::Complete);
  FUZZ_CHECK(judged.length == n);
  FUZZ_CHECK(std::equal(reply.begin(), reply.end(), response.begin() + 11));
  // Answering an earlier request, the same response is dropped whole.
  judged = varnok::JudgeTunnelResponse(response, static_cast<std::uint16_t>(id + 1));
  FUZZ_CHECK(judged.verdict == varnok::TunnelVerdict::Foreign && judged.consumed == response.size());
  // Any first part of it is not yet a response.
  const std::size_t cut = ((std::size_t{in.Byte()} << 8) | in.Byte()) % response.size();
  judged = varnok::JudgeTunnelResponse(std::span(response.data(), cut), id);
  FUZZ_CHECK(judged.verdict == varnok::TunnelVerdict::NeedMore);
  // An exception response is one whatever identifier it carries.
  const Bytes exception = varnok::sim::BuildTunnelException(id, 0, 0x17, in.Byte());
  FUZZ_CHECK(varnok::JudgeTunnelResponse(exception, static_cast<std::uint16_t>(id + 7)).verdict ==
             varnok::TunnelVerdict::Exception);
}

void SerialFrameRoundTrip(Reader& in) {
  const std::uint8_t code = in.Byte();
  const Bytes data = in.Take(in.Byte());
  const Bytes console = varnok::BuildSerialFrame(varnok::kInstrumentAddress, code, data);
  FUZZ_CHECK(console == varnok::sim::BuildSerialFrame(varnok::sim::kInstrumentAddress, code, data));
  FUZZ_CHECK(console.size() == data.size() + (data.size() < 7 ? 3 : 4));

  // The console's ACK or NAK, then its frame, cut anywhere into two receives.
  const std::uint8_t ack = (in.Byte() & 1) ? varnok::kAck : varnok::kNak;
  Bytes stream{ack};
  stream.insert(stream.end(), console.begin(), console.end());
  const std::size_t cut = in.Byte() % (stream.size() + 1);
  varnok::sim::SerialInput input;
  std::vector<varnok::sim::SerialMessage> messages;
  Bytes between;
  input.Feed(std::span(stream.data(), cut), messages, &between);
  input.Feed(std::span(stream.data() + cut, stream.size() - cut), messages, &between);
  FUZZ_CHECK(messages.size() == 1);
  FUZZ_CHECK(messages[0].kind == varnok::sim::SerialMessage::Kind::kFrame && messages[0].checkOk);
  FUZZ_CHECK(messages[0].code == code && messages[0].data == data && messages[0].raw == console);
  FUZZ_CHECK(between == Bytes{ack});
  FUZZ_CHECK(!input.HasPartial());

  // The simulator's reply frame as the console reads its header.
  const auto header = varnok::ParseSerialFrameHeader(console.data());
  FUZZ_CHECK(header.address == varnok::kInstrumentAddress && header.code == code);
  FUZZ_CHECK(header.length == data.size() && header.longForm == (data.size() >= 7));
  FUZZ_CHECK(3 + header.remaining == console.size());
}

// Raw bytes: a request the simulator accepts (cut from the stream as its length field says, as the
// simulator's sessions do) is exactly the one the console builds from its fields.
void RawBytes(Reader& in) {
  const Bytes raw = in.Take(in.size);
  const auto size = varnok::sim::TunnelRequestSize(raw);
  if (size && *size <= raw.size()) {
    const Bytes frame(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(*size));
    const auto decoded = varnok::sim::DecodeTunnelRequest(frame);
    if (decoded.request) {
      const auto& r = *decoded.request;
      FUZZ_CHECK(varnok::BuildTunnelRequest(r.transactionId, r.unit, r.code, r.data) == frame);
    } else {
      FUZZ_CHECK(decoded.exceptionCode != 0);
    }
  }
  varnok::sim::SerialInput input;
  std::vector<varnok::sim::SerialMessage> messages;
  Bytes between;
  input.Feed(raw, messages, &between);
  for (const auto& m : messages) {
    if (m.kind == varnok::sim::SerialMessage::Kind::kFrame && m.checkOk) {
      FUZZ_CHECK(varnok::BuildSerialFrame(varnok::kInstrumentAddress, m.code, m.data) == m.raw);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in{data, size};
  TunnelRequestRoundTrip(in);
  TunnelResponseRoundTrip(in);
  SerialFrameRoundTrip(in);
  RawBytes(in);
  return 0;
}
