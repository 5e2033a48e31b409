#pragma once
#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "link/ExchangeWaiter.h"
#include "link/InstrumentLink.h"
#include "link/LinkState.h"
#include "link/LinkTimeouts.h"
#include "link/LinkWindow.h"
#include "link/TunnelFrame.h"
#include "link/WireTrace.h"

namespace varnok {

// The single gate to the instrument: chooses the transport, retries a failed TCP exchange once, counts
// failed text commands (the fifth and every later one disconnects) and gives the user tones and status
// texts through the window. Text commands go over TCP (code 128, unit = UnitAddress) when a socket is
// open, else in serial line mode; coded commands go in serial frames when the link is serial, else over
// TCP with unit 0. Called from one thread; one exchange at a time. Every wait goes through the
// ExchangeWaiter, which may serve the window meanwhile; Disconnect during such a wait ends the exchange
// at once as a failure (no retry, no tone of its own).
class CommandLayer : public InstrumentLink {
 public:
  // Longest text command: the tunnel's one-byte length field, and the command buffer's room.
  static constexpr std::size_t kMaxTcpTextCommand = 255;
  static constexpr std::size_t kMaxTextCommand = 4095;

  explicit CommandLayer(LinkWindow& window, LinkTimeouts timeouts = {});
  ~CommandLayer() override;
  CommandLayer(const CommandLayer&) = delete;
  CommandLayer& operator=(const CommandLayer&) = delete;

  bool IsConnected() const override;
  int SendTextCommand(std::string_view command, char* reply) override;
  int SendBinaryCommand(std::uint8_t code, std::uint8_t length, std::uint8_t* data) override;
  void ShowCommandStatus(int result, const std::uint8_t* reply) override;
  void SetStatusText(const std::string& text) override;
  void ErrorBeep() override;
  void Disconnect() override;

  // Two tunnel attempts with the same request bytes; after two failures (an empty reply counts as one)
  // switches Timer1 off and releases TimerBtn and ConnectBtn, leaving the socket open. Returns the reply
  // length or -1. `data` holds `length` request bytes and receives the reply (at least 1027 bytes).
  int TunnelTransactionWithRetry(std::uint8_t unit, std::uint8_t code, std::uint8_t length,
                                 std::uint8_t* data);

  // Connection management stores the link it opened here.
  void AttachTcp(std::unique_ptr<TcpChannel> socket);
  void AttachSerial(std::unique_ptr<SerialChannel> port);
  // Closes whatever link is open without a message or tone (a leftover of an earlier attempt). The
  // close itself runs through the waiter's Later: a peer that stopped reading may hold it for seconds.
  void CloseLink();

  // Runs one wait on the link (an exchange, a name lookup, a connection attempt) through the waiter.
  // `abort`, when given, ends the wait at once from the calling thread. False when Disconnect ended the
  // wait: the caller then gives up without tones or further commands.
  bool RunExchange(const std::function<void()>& work, std::function<void()> abort = {});
  // True while an exchange waits.
  bool ExchangeWaiting() const { return inFlight_; }

  // The wire trace (the program's --trace option, varnok-cmd -v); none by default. Every exchange,
  // retry and tone is then marked in it; the transports feed it the bytes.
  void SetWireTrace(WireTrace* trace) { trace_ = trace; }

  // The window's waiter; by default every wait runs in place.
  void SetWaiter(ExchangeWaiter& waiter) { waiter_ = &waiter; }
  ExchangeWaiter& Waiter() { return *waiter_; }

  LinkState& State() { return state_; }
  const LinkState& State() const { return state_; }
  TransactionCounter& Transactions() { return transactions_; }
  // The shared command buffer (4096 bytes): outgoing text commands and their TCP replies, and the data
  // buffer of the model query.
  std::uint8_t* CommandBuffer() { return commandBuffer_.data(); }
  const LinkTimeouts& Timeouts() const { return timeouts_; }

 private:
  LinkWindow& window_;
  LinkTimeouts timeouts_;
  LinkState state_;
  TransactionCounter transactions_;
  std::array<std::uint8_t, kTextReplySize> commandBuffer_{};
  InlineWaiter inlineWaiter_;
  ExchangeWaiter* waiter_ = &inlineWaiter_;
  WireTrace* trace_ = nullptr;
  bool inFlight_ = false;
  bool aborted_ = false;  // Disconnect ended the waiting exchange
  std::function<void()> abortWaiting_;
};

}  // namespace varnok
