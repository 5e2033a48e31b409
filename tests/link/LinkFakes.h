#pragma once
// Stand-ins for the transports and the opener, for tests of the link without devices; the window is the
// shared fake of the test support. The transports' fakes stand in for TcpChannel and SerialChannel, the
// link's own lower interfaces, which no feature test sees.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/LinkOpener.h"
#include "tests/support/RecordingLinkWindow.h"
#include "link/LinkWindow.h"
#include "link/SerialChannel.h"
#include "link/TcpChannel.h"

namespace varnok::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

// A tunnel response: identifier, protocol 0, length, unit 0, function, byte count, one register byte,
// the reply length and the reply data.
inline Bytes TunnelResponse(std::uint16_t id, const Bytes& data, std::uint8_t function = 0x17) {
  const std::size_t following = 5 + data.size();
  Bytes r = {static_cast<std::uint8_t>(id >> 8),
             static_cast<std::uint8_t>(id & 0xFF),
             0,
             0,
             static_cast<std::uint8_t>(following >> 8),
             static_cast<std::uint8_t>(following & 0xFF),
             0,
             function,
             static_cast<std::uint8_t>(data.size() + 2),
             0,
             static_cast<std::uint8_t>(data.size() & 0xFF)};
  r.insert(r.end(), data.begin(), data.end());
  return r;
}

inline std::uint16_t RequestId(const Bytes& request) {
  return static_cast<std::uint16_t>((request[0] << 8) | request[1]);
}

using FakeLinkWindow = testing::RecordingLinkWindow;

// A TCP connection whose peer is a script: each entry of `incoming` is what one receive call returns
// (an empty entry: the peer closed). With nothing queued, readability waits time out.
class FakeTcpChannel : public TcpChannel {
 public:
  struct Shared {
    bool writable = true;
    int acceptLimit = -1;  // Send accepts at most this many bytes (-1: all)
    bool receiveFails = false;
    std::vector<Bytes> sent;
    std::deque<Bytes> incoming;
    bool closed = false;
    int discards = 0;
    std::function<void(Shared&, const Bytes&)> responder;  // runs on every send
  };

  explicit FakeTcpChannel(std::shared_ptr<Shared> shared) : s(std::move(shared)) {}

  bool WaitWritable(std::chrono::milliseconds) override { return s->writable && !s->closed; }
  bool WaitReadable(std::chrono::milliseconds) override {
    return !s->closed && (s->receiveFails || !s->incoming.empty());
  }
  int Send(const std::uint8_t* bytes, std::size_t count) override {
    std::size_t accepted = count;
    if (s->acceptLimit >= 0 && static_cast<std::size_t>(s->acceptLimit) < count) accepted = s->acceptLimit;
    Bytes request(bytes, bytes + count);
    s->sent.push_back(request);
    if (s->responder) s->responder(*s, request);
    return static_cast<int>(accepted);
  }
  int Receive(std::uint8_t* buffer, std::size_t room) override {
    if (s->receiveFails) return -1;
    if (s->incoming.empty()) return -1;
    Bytes& front = s->incoming.front();
    if (front.empty()) {
      s->incoming.pop_front();
      return 0;
    }
    const std::size_t n = std::min(room, front.size());
    std::copy_n(front.begin(), n, buffer);
    front.erase(front.begin(), front.begin() + static_cast<long>(n));
    if (front.empty()) s->incoming.pop_front();
    return static_cast<int>(n);
  }
  void DiscardInput() override {
    ++s->discards;
    s->incoming.clear();
  }
  void Close() override { s->closed = true; }

  std::shared_ptr<Shared> s;
};

// A serial port whose peer is a script: `responder` runs on every write and may queue input bytes.
class FakeSerialChannel : public SerialChannel {
 public:
  struct Shared {
    std::deque<std::uint8_t> input;
    bool readFails = false;
    bool writeFails = false;
    std::vector<Bytes> written;
    int discards = 0;
    bool closed = false;
    std::function<void(Shared&, const Bytes&)> responder;
    void Queue(const Bytes& bytes) { input.insert(input.end(), bytes.begin(), bytes.end()); }
  };

  explicit FakeSerialChannel(std::shared_ptr<Shared> shared) : s(std::move(shared)) {}

  bool Write(const std::uint8_t* bytes, std::size_t count) override {
    if (s->writeFails) return false;
    Bytes out(bytes, bytes + count);
    s->written.push_back(out);
    if (s->responder) s->responder(*s, out);
    return true;
  }
  int Read(std::uint8_t* buffer, std::size_t count) override {
    if (s->input.empty() && s->readFails) return -1;
    const std::size_t n = std::min(count, s->input.size());
    std::copy_n(s->input.begin(), n, buffer);
    s->input.erase(s->input.begin(), s->input.begin() + static_cast<long>(n));
    return static_cast<int>(n);
  }
  void DiscardInput() override {
    s->input.clear();
    ++s->discards;
  }
  void Close() override { s->closed = true; }

  std::shared_ptr<Shared> s;
};

// Hands out fake links and records what was asked for.
class FakeOpener : public LinkOpener {
 public:
  std::optional<std::string> resolved = "10.0.0.5";  // the lookup's answer (empty: no such host)
  bool tcpOpens = true;
  bool serialOpens = true;
  std::vector<std::string> lookups;
  std::vector<std::pair<std::string, int>> tcpOpened;
  std::vector<std::string> serialOpened;
  std::shared_ptr<FakeTcpChannel::Shared> tcp = std::make_shared<FakeTcpChannel::Shared>();
  std::shared_ptr<FakeSerialChannel::Shared> serial = std::make_shared<FakeSerialChannel::Shared>();
  std::function<void()> onOpen;  // runs while a link opens (to look at the window then)

  std::optional<std::string> LookUpIPv4(const std::string& name) override {
    lookups.push_back(name);
    return resolved;
  }
  std::unique_ptr<TcpChannel> OpenTcp(const std::string& dotted, int port) override {
    tcpOpened.emplace_back(dotted, port);
    if (onOpen) onOpen();
    if (!tcpOpens) return nullptr;
    tcp->closed = false;
    return std::make_unique<FakeTcpChannel>(tcp);
  }
  std::unique_ptr<SerialChannel> OpenSerial(const std::string& device) override {
    serialOpened.push_back(device);
    if (onOpen) onOpen();
    if (!serialOpens) return nullptr;
    serial->closed = false;
    return std::make_unique<FakeSerialChannel>(serial);
  }
};

}  // namespace varnok::test
