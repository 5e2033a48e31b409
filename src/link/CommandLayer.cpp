#include "CommandLayer.h"

#include <cstring>
#include <vector>

#include "SerialExchange.h"
#include "TunnelTransaction.h"

namespace varnok {

CommandLayer::CommandLayer(LinkWindow& window, LinkTimeouts timeouts) : window_(window), timeouts_(timeouts) {}

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
  if (overTcp) {
    const int unit = window_.UnitAddress();
    result = TunnelTransactionWithRetry(static_cast<std::uint8_t>(unit), 128,
                                        static_cast<std::uint8_t>(command.size()), commandBuffer_.data());
    // The whole reply reaches the caller (up to 1026 bytes), never stale bytes behind it.
    if (result > 0) std::memcpy(reply, commandBuffer_.data(), static_cast<std::size_t>(result));
  } else if (state_.serialPort) {
    result = SerialTextCommand(*state_.serialPort, command, reply,
                               [this](const std::string& line) { SetStatusText(line); });
  }
  if (result > 0 && result < static_cast<int>(kTextReplySize)) reply[result] = 0;
  if (result < 1) {
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
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int result = TunnelTransaction(state_.tcpSocket.get(), transactions_, unit, code, request, data,
                                         timeouts_.tcpWait);
    if (result > 0) return result;
    ErrorBeep();
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
    return SerialFramedTransaction(*state_.serialPort, code, length, data);
  }
  return TunnelTransactionWithRetry(0, code, length, data);
}

void CommandLayer::ShowCommandStatus(int result, const std::uint8_t* reply) {
  std::string text = "OK";
  if (result == 1 && reply[0] != 0) text = "Problems:" + std::to_string(static_cast<std::int8_t>(reply[0]));
  if (result < 1) text = "Not Connected";
  SetStatusText(text);
}

void CommandLayer::SetStatusText(const std::string& text) { window_.SetPanelText(2, text); }

void CommandLayer::ErrorBeep() { window_.PlayErrorTone(); }

void CommandLayer::CloseLink() {
  if (state_.tcpSocket) {
    state_.tcpSocket->Close();
    state_.tcpSocket.reset();
  }
  if (state_.serialPort) {
    state_.serialPort->Close();
    state_.serialPort.reset();
  }
  state_.serialLink = false;
}

void CommandLayer::Disconnect() {
  CloseLink();
  window_.SetPanelText(0, "Disonnected");
  window_.SetConnectDown(false);
  ErrorBeep();
  ErrorBeep();
}

void CommandLayer::AttachTcp(std::unique_ptr<TcpChannel> socket) { state_.tcpSocket = std::move(socket); }

void CommandLayer::AttachSerial(std::unique_ptr<SerialChannel> port) {
  state_.serialPort = std::move(port);
  state_.serialLink = state_.serialPort != nullptr;
}

}  // namespace varnok
