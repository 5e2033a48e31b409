#pragma once
#include <chrono>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "link/InstrumentLink.h"

namespace varnok::testing {

// An InstrumentLink that records every coded command and answers from a script.
class RecordingLink : public InstrumentLink {
 public:
  struct Call {
    std::uint8_t code;
    std::uint8_t length;
    std::vector<std::uint8_t> payload;  // the first `length` bytes of the buffer
    bool restZero;                      // the buffer beyond the payload was zero-filled
    std::chrono::steady_clock::time_point at;
  };
  struct Reply {
    int result;
    std::vector<std::uint8_t> bytes;
  };

  bool connected = true;
  std::vector<Call> calls;
  std::deque<Reply> replies;  // consumed in order; when empty a command answers with one zero byte
  std::vector<std::string> statusTexts;
  int textCommands = 0;

  bool IsConnected() const override { return connected; }

  int SendTextCommand(std::string_view, char* reply) override {
    ++textCommands;
    reply[0] = '\0';
    return -1;
  }

  int SendBinaryCommand(std::uint8_t code, std::uint8_t length, std::uint8_t* data) override {
    bool restZero = true;
    for (std::size_t i = length; i < kBinaryDataSize; ++i) restZero = restZero && data[i] == 0;
    calls.push_back({code, length, std::vector<std::uint8_t>(data, data + length), restZero,
                     std::chrono::steady_clock::now()});
    if (!connected) return -1;
    Reply reply{1, {0}};
    if (!replies.empty()) {
      reply = replies.front();
      replies.pop_front();
    }
    std::memcpy(data, reply.bytes.data(), reply.bytes.size());
    return reply.result;
  }

  void ShowCommandStatus(int, const std::uint8_t*) override {}
  void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
  void ErrorBeep() override {}
  void Disconnect() override { connected = false; }
};

// The bytes of a text, for writing expected payloads.
inline std::vector<std::uint8_t> Bytes(const char* text) {
  return std::vector<std::uint8_t>(text, text + std::strlen(text));
}

}  // namespace varnok::testing
