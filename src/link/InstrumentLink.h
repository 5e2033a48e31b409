#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "link/HandlerGate.h"

namespace varnok {

// Room of the reply buffer of a text command (the caller's buffer).
inline constexpr std::size_t kTextReplySize = 4096;
// Room a caller gives SendBinaryCommand: the longest tunnel reply (1026 bytes) plus its zero byte,
// rounded up.
inline constexpr std::size_t kBinaryDataSize = 1040;

// The one gate through which every feature talks to the instrument. The command layer implements
// it; feature tests use a fake.
class InstrumentLink {
 public:
  virtual ~InstrumentLink() = default;

  // The connected state: the Connect button is down.
  virtual bool IsConnected() const = 0;

  // Sends one text command. `reply` has room for kTextReplySize bytes and receives the reply text,
  // zero-terminated. Returns the reply length, or a value below 1 on failure.
  virtual int SendTextCommand(std::string_view command, char* reply) = 0;

  // Sends one coded command. `data` (kBinaryDataSize bytes) holds `length` request bytes on entry and
  // receives the reply data. Returns the number of reply bytes or a negative failure value.
  virtual int SendBinaryCommand(std::uint8_t code, std::uint8_t length, std::uint8_t* data) = 0;

  // Shows the outcome of a write command in the third status panel.
  virtual void ShowCommandStatus(int result, const std::uint8_t* reply) = 0;

  // Puts a text into the third status panel.
  virtual void SetStatusText(const std::string& text) = 0;

  // The error tone, 2200 Hz for 50 ms; returns when it has ended.
  virtual void ErrorBeep() = 0;

  // Closes whatever link is open and shows the disconnected state.
  virtual void Disconnect() = 0;

  // The order of the window's handlers that talk to the link: one at a time, even while they wait.
  HandlerGate& Handlers() { return handlers_; }

 private:
  HandlerGate handlers_;
};

}  // namespace varnok
