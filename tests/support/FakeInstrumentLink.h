#pragma once
#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/InstrumentLink.h"
#include "link/LittleEndian.h"

namespace varnok::testing {

using Bytes = std::vector<std::uint8_t>;

struct SentCommand {
  std::uint8_t code = 0;
  std::uint8_t length = 0;
  Bytes payload;         // the `length` request bytes as they were handed over
  bool restZero = true;  // the buffer beyond the request bytes was all zero
  std::optional<std::chrono::steady_clock::time_point> at;  // when it was sent (timeEachCall)
};

// What the instrument answers a coded command: the result SendBinaryCommand returns and the bytes
// written into the caller's buffer (may be more than `result`, to leave junk behind the reply).
struct Reply {
  int result = 1;
  Bytes bytes = {0};
};

// What the instrument answers a text command: the result SendTextCommand returns and the text put
// into the reply buffer when the result is 1 or more.
struct TextReply {
  int result = -1;
  std::string text;
};

// The one InstrumentLink of the feature tests: records every call and answers from a script, without
// the command layer. A coded command is answered from the queue of its code in `replies`, else from the
// queue `script` whatever the code (Answer, Fail), else by `responder`, else with `defaultReply`; while
// not connected it is recorded and refused with -1. Text commands are answered from the queue filled by
// Script(), else with failure -1. Status texts, error tones and disconnects are recorded as the window
// would show them.
class FakeInstrumentLink : public InstrumentLink {
 public:
  bool connected = true;
  std::vector<SentCommand> sent;
  std::map<std::uint8_t, std::deque<Reply>> replies;
  std::deque<Reply> script;
  std::function<Reply(const SentCommand&)> responder;
  Reply defaultReply;

  // Options. With a marker, every byte of the buffer past the reply holds it, so code that reads beyond
  // the reply shows wrong values (0x42424242 reads as 48.56 as a float). With timeEachCall, each
  // command records when it was sent.
  std::optional<std::uint8_t> beyondReply;
  bool timeEachCall = false;

  std::vector<std::string> sentTexts;  // every text command, exactly as handed over

  std::vector<std::string> statusTexts;  // every text put into the third status panel, in order
  int showCommandStatusCalls = 0;
  int beeps = 0;
  int disconnects = 0;

  void Script(TextReply reply) { textReplies_.push_back(std::move(reply)); }
  // The next coded command, whatever its code, answers exactly these bytes ...
  void Answer(Bytes bytes) {
    const int size = static_cast<int>(bytes.size());
    script.push_back({size, std::move(bytes)});
  }
  // ... or fails with `result`.
  void Fail(int result = -1) { script.push_back({result, {}}); }

  bool IsConnected() const override { return connected; }

  int SendTextCommand(std::string_view command, char* reply) override {
    sentTexts.emplace_back(command);
    reply[0] = '\0';
    if (textReplies_.empty()) return -1;
    const TextReply next = textReplies_.front();
    textReplies_.pop_front();
    if (next.result >= 1) {
      const std::size_t n = std::min(next.text.size(), kTextReplySize - 1);
      std::memcpy(reply, next.text.data(), n);
      reply[n] = '\0';
    }
    return next.result;
  }

  int SendBinaryCommand(std::uint8_t code, std::uint8_t length, std::uint8_t* data) override {
    SentCommand command{code, length, Bytes(data, data + length), true, std::nullopt};
    command.restZero =
        std::all_of(data + length, data + kBinaryDataSize, [](std::uint8_t b) { return b == 0; });
    if (timeEachCall) command.at = std::chrono::steady_clock::now();
    sent.push_back(command);
    if (!connected) return -1;
    Reply reply = defaultReply;
    if (auto it = replies.find(code); it != replies.end() && !it->second.empty()) {
      reply = it->second.front();
      it->second.pop_front();
    } else if (!script.empty()) {
      reply = script.front();
      script.pop_front();
    } else if (responder) {
      reply = responder(command);
    }
    if (beyondReply) std::memset(data, *beyondReply, kBinaryDataSize);
    std::copy_n(reply.bytes.begin(), std::min(reply.bytes.size(), kBinaryDataSize), data);
    return reply.result;
  }

  // The command layer's rule, so tests can read the panel as the technician would.
  void ShowCommandStatus(int result, const std::uint8_t* reply) override {
    ++showCommandStatusCalls;
    std::string text = "OK";
    if (result == 1 && reply[0] != 0) text = "Problems:" + std::to_string(static_cast<std::int8_t>(reply[0]));
    if (result < 1) text = "Not Connected";
    SetStatusText(text);
  }

  void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
  void ErrorBeep() override { ++beeps; }
  void Disconnect() override {
    ++disconnects;
    connected = false;
  }

  std::string LastStatus() const { return statusTexts.empty() ? std::string() : statusTexts.back(); }

  std::vector<int> SentCodes() const {
    std::vector<int> codes;
    for (const SentCommand& c : sent) codes.push_back(c.code);
    return codes;
  }

  // Coded and text commands together.
  int CommandsSent() const { return static_cast<int>(sent.size() + sentTexts.size()); }

 private:
  std::deque<TextReply> textReplies_;
};

// A value-block reply holding `values` as little-endian single-precision numbers.
inline Bytes FloatBytes(const std::vector<float>& values) {
  Bytes bytes(values.size() * 4);
  for (std::size_t k = 0; k < values.size(); ++k) PutFloat32(bytes.data() + 4 * k, values[k]);
  return bytes;
}

// The bytes of a text, for writing expected payloads.
inline Bytes TextBytes(const char* text) { return Bytes(text, text + std::strlen(text)); }

}  // namespace varnok::testing
