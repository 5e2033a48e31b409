#include "link/CommandLayer.h"

#include <cstring>
#include <vector>

#include "link/CommandStatusText.h"
#include "link/SerialExchange.h"
#include "link/TunnelTransaction.h"

namespace varnok {

CommandLayer::CommandLayer(LinkWindow& window, LinkTimeouts timeouts)
    : window_(window), timeouts_(timeouts) {}

CommandLayer::~CommandLayer() = default;

bool CommandLayer::IsConnected() const { return window_.ConnectDown(); }

int CommandLayer::SendTextCommand(std::string_view command, char* reply) {
  if (!window_.ConnectDown()) {
    ErrorBeep();
    return -1;
  }
  const bool overTcp = state_.tcpSocket != nullptr;
  // A command the frame or the buffer cannot carry is refused before anything is sent; not a link failure.
  if (command.size() > (overTcp ? kMaxTcpTextCommand : kMaxTextCommand)) {
    ErrorBeep();
    return -1;
  }
  std::memcpy(commandBuffer_.data(), command.data(), command.size());
  commandBuffer_[command.size()] = 0;

  int result = -1;
  bool aborted = false;
  if (overTcp) {
    const int unit = window_.UnitAddress();
    result = TunnelTransactionWithRetry(static_cast<std::uint8_t>(unit), 128,
                                        static_cast<std::uint8_t>(command.size()), commandBuffer_.data());
    aborted = aborted_;
    // The whole reply reaches the caller (up to 1026 bytes), never stale bytes behind it.
    if (result > 0) std::memcpy(reply, commandBuffer_.data(), static_cast<std::size_t>(result));
  } else if (state_.serialPort) {
    SerialChannel* port = state_.serialPort.get();
    if (trace_) trace_->Begin(TraceTransport::SerialText, std::nullopt, false);
    aborted = !RunExchange(
        [&] {
          result = SerialTextCommand(*port, command, reply, [this](const std::string& line) {
            waiter_->Post([this, line] { SetStatusText(line); });
          });
        },
        [port] { port->Abort(); });
    if (aborted) result = -1;
    if (trace_) trace_->End(result, false);
  }
  if (result > 0 && result < static_cast<int>(kTextReplySize)) reply[result] = 0;
  // A command ended by the technician's Disconnect is not the instrument's failure: not counted, so it
  // cannot disconnect (and sound) a second time.
  if (result < 1 && !aborted) {
    ++state_.failureCount;
    if (state_.failureCount > 4) Disconnect();
  }
  return result;
}

int CommandLayer::TunnelTransactionWithRetry(std::uint8_t unit, std::uint8_t code, std::uint8_t length,
                                             std::uint8_t* data) {
  if (!window_.ConnectDown()) {
    ErrorBeep();
    return -1;
  }
  // The request is kept apart so that the second attempt sends exactly the first one's bytes.
  const std::vector<std::uint8_t> request(data, data + length);
  TcpChannel* socket = state_.tcpSocket.get();
  for (int attempt = 0; attempt < 2; ++attempt) {
    int result = -1;
    if (trace_) trace_->Begin(TraceTransport::Tcp, code, attempt > 0);
    const bool ended = RunExchange(
        [&] {
          result = TunnelTransaction(socket, transactions_, unit, code, request, data, timeouts_.tcpWait);
        },
        [socket] {
          if (socket) socket->Abort();
        });
    if (trace_) trace_->End(ended ? result : -1, ended && result <= 0);
    if (!ended) return -1;  // Disconnect ended it: no retry, no tone
    if (result > 0) return result;
    window_.PlayErrorTone();  // marked on the attempt's trace line
  }
  window_.SetTimer1Enabled(false);
  window_.ReleaseTimerBtn();
  window_.SetConnectDown(false);
  return -1;
}

int CommandLayer::SendBinaryCommand(std::uint8_t code, std::uint8_t length, std::uint8_t* data) {
  if (!window_.ConnectDown()) return -1;
  if (state_.serialLink) {
    if (!state_.serialPort) return kSerialNotWritten;
    SerialChannel* port = state_.serialPort.get();
    int result = kSerialNotWritten;
    if (trace_) trace_->Begin(TraceTransport::SerialFrame, code, false);
    const bool ended = RunExchange([&] { result = SerialFramedTransaction(*port, code, length, data); },
                                   [port] { port->Abort(); });
    if (!ended) result = kSerialNotWritten;
    if (trace_) trace_->End(result, false);
    return result;
  }
  return TunnelTransactionWithRetry(0, code, length, data);
}

void CommandLayer::ShowCommandStatus(int result, const std::uint8_t* reply) {
  SetStatusText(CommandStatusText(result, reply));
}

void CommandLayer::SetStatusText(const std::string& text) { window_.SetPanelText(2, text); }

void CommandLayer::ErrorBeep() {
  if (trace_) trace_->Event("tone");
  window_.PlayErrorTone();
}

bool CommandLayer::RunExchange(const std::function<void()>& work, std::function<void()> abort) {
  inFlight_ = true;
  aborted_ = false;
  abortWaiting_ = std::move(abort);
  waiter_->Wait(work);
  inFlight_ = false;
  abortWaiting_ = nullptr;
  return !aborted_;
}

void CommandLayer::CloseLink() {
  // The link leaves LinkState now; a waiting exchange may still be inside it, so closing and destroying
  // it come after that exchange, on the waiter's side.
  std::shared_ptr<TcpChannel> socket(std::move(state_.tcpSocket));
  std::shared_ptr<SerialChannel> port(std::move(state_.serialPort));
  state_.serialLink = false;
  if (!socket && !port) return;
  waiter_->Later([socket, port] {
    if (socket) socket->Close();
    if (port) port->Close();
  });
}

void CommandLayer::Disconnect() {
  if (inFlight_) {
    aborted_ = true;
    if (abortWaiting_) abortWaiting_();
  }
  CloseLink();
  window_.SetPanelText(0, "Disonnected");
  window_.SetConnectDown(false);
  if (trace_) trace_->Event("Disconnect, tone, tone");
  window_.PlayErrorTone();
  window_.PlayErrorTone();
}

void CommandLayer::AttachTcp(std::unique_ptr<TcpChannel> socket) { state_.tcpSocket = std::move(socket); }

void CommandLayer::AttachSerial(std::unique_ptr<SerialChannel> port) {
  state_.serialPort = std::move(port);
  state_.serialLink = state_.serialPort != nullptr;
}

}  // namespace varnok
