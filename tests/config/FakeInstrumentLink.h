#pragma once
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "link/InstrumentLink.h"

namespace varnok::test {

using Bytes = std::vector<std::uint8_t>;

struct SentCommand {
  std::uint8_t code = 0;
  std::uint8_t length = 0;
  Bytes payload;  // the `length` request bytes as they were handed over
};

// What the instrument answers: the result SendBinaryCommand returns and the bytes written into the
// caller's buffer (may be more than `result`, to leave junk behind the reply).
struct Reply {
  int result = 1;
  Bytes bytes = {0};
};

// An InstrumentLink that records every call and answers coded commands from a script: per code a
// queue of replies, else `responder`, else `defaultReply`.
class FakeInstrumentLink : public InstrumentLink {
 public:
  bool connected = true;
  std::vector<SentCommand> sent;
  std::map<std::uint8_t, std::deque<Reply>> replies;
  std::function<Reply(const SentCommand&)> responder;
  Reply defaultReply;

  std::vector<std::string> statusTexts;  // every text put into the third status panel, in order
  int showCommandStatusCalls = 0;
  int beeps = 0;
  int disconnects = 0;

  bool IsConnected() const override { return connected; }

  int SendTextCommand(std::string_view, char* reply) override {
    reply[0] = '\0';
    return -1;
  }

  int SendBinaryCommand(std::uint8_t code, std::uint8_t length, std::uint8_t* data) override {
    SentCommand command{code, length, Bytes(data, data + length)};
    sent.push_back(command);
    Reply reply = defaultReply;
    if (auto it = replies.find(code); it != replies.end() && !it->second.empty()) {
      reply = it->second.front();
      it->second.pop_front();
    } else if (responder) {
      reply = responder(command);
    }
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
  void Disconnect() override { ++disconnects; }

  std::string LastStatus() const { return statusTexts.empty() ? std::string() : statusTexts.back(); }

  std::vector<int> SentCodes() const {
    std::vector<int> codes;
    for (const SentCommand& c : sent) codes.push_back(c.code);
    return codes;
  }
};

}  // namespace varnok::test
