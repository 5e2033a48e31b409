#pragma once
#include <bit>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "link/InstrumentLink.h"

namespace varnok::testing {

// An InstrumentLink that records every coded command and answers from a script. Bytes beyond a
// scripted reply are filled with a marker, so code that reads past the reply shows wrong values.
class FakeLink : public InstrumentLink {
 public:
  struct Call {
    std::uint8_t code;
    std::uint8_t length;
    std::vector<std::uint8_t> payload;
  };
  struct Reply {
    int result;                       // what SendBinaryCommand returns
    std::vector<std::uint8_t> bytes;  // copied into the buffer
  };

  bool connected = true;
  std::vector<Call> calls;
  std::deque<Reply> script;  // answered in order; when empty, every command fails with -1
  std::vector<std::string> statusTexts;
  int errorBeeps = 0;

  static constexpr std::uint8_t kBeyondReply = 0x42;  // 0x42424242 reads as 48.56 as a float

  bool IsConnected() const override { return connected; }
  int SendTextCommand(std::string_view, char* reply) override {
    reply[0] = '\0';
    return -1;
  }
  int SendBinaryCommand(std::uint8_t code, std::uint8_t length, std::uint8_t* data) override {
    calls.push_back({code, length, std::vector<std::uint8_t>(data, data + length)});
    if (script.empty()) return -1;
    Reply reply = script.front();
    script.pop_front();
    std::memset(data, kBeyondReply, kBinaryDataSize);
    if (!reply.bytes.empty()) std::memcpy(data, reply.bytes.data(), reply.bytes.size());
    return reply.result;
  }
  void ShowCommandStatus(int, const std::uint8_t*) override {}
  void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
  void ErrorBeep() override { ++errorBeeps; }
  void Disconnect() override { connected = false; }

  // A reply of exactly these bytes.
  void Answer(std::vector<std::uint8_t> bytes) {
    const int size = static_cast<int>(bytes.size());
    script.push_back({size, std::move(bytes)});
  }
  void Fail(int result = -1) { script.push_back({result, {}}); }
};

// A value-block reply holding `values` as little-endian single-precision numbers.
inline std::vector<std::uint8_t> FloatBytes(const std::vector<float>& values) {
  std::vector<std::uint8_t> bytes(values.size() * 4);
  static_assert(std::endian::native == std::endian::little);
  std::memcpy(bytes.data(), values.data(), bytes.size());
  return bytes;
}

// A (200, 60) reply in which value k is `base + k`.
inline std::vector<std::uint8_t> BlockOf60(float base) {
  std::vector<float> values(60);
  for (int k = 0; k < 60; ++k) values[k] = base + static_cast<float>(k);
  return FloatBytes(values);
}

}  // namespace varnok::testing
