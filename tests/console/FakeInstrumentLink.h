#pragma once
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "link/InstrumentLink.h"

namespace varnok::testing {

// Records every text command and answers each with the next scripted reply.
class FakeInstrumentLink : public InstrumentLink {
 public:
  struct Reply {
    int result;        // what SendTextCommand returns
    std::string text;  // copied into the reply buffer when result >= 1
  };

  void Script(Reply reply) { replies_.push_back(std::move(reply)); }

  bool IsConnected() const override { return true; }
  int SendTextCommand(std::string_view command, char* reply) override {
    sent.emplace_back(command);
    if (replies_.empty()) return -1;
    Reply next = replies_.front();
    replies_.pop_front();
    if (next.result >= 1) {
      const std::size_t n = std::min(next.text.size(), kTextReplySize - 1);
      std::memcpy(reply, next.text.data(), n);
      reply[n] = '\0';
    }
    return next.result;
  }
  int SendBinaryCommand(std::uint8_t, std::uint8_t, std::uint8_t*) override { return -1; }
  void ShowCommandStatus(int, const std::uint8_t*) override {}
  void SetStatusText(const std::string&) override {}
  void ErrorBeep() override {}
  void Disconnect() override {}

  std::vector<std::string> sent;

 private:
  std::deque<Reply> replies_;
};

}  // namespace varnok::testing
