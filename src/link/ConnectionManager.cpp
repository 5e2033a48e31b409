#include "link/ConnectionManager.h"

#include "link/LinkAddress.h"
#include "link/ModelFromReply.h"

namespace varnok {

ConnectionManager::ConnectionManager(CommandLayer& layer, LinkWindow& window, LinkOpener& opener)
    : layer_(layer), window_(window), opener_(opener) {}

ConnectResult ConnectionManager::ConnectBtnClick(const std::string& ipText, const std::string& portText) {
  if (!window_.ConnectDown()) {
    layer_.Disconnect();
    return {ConnectOutcome::Disconnected, {}};
  }
  int port = 502;
  if (const auto parsed = ParsePortText(portText)) {
    port = *parsed;
  } else {
    layer_.ErrorBeep();
  }
  const LinkAddress address = InterpretAddress(ipText);
  layer_.CloseLink();

  if (!address.serial) {
    // A name lookup cannot be cut short; releasing Connect meanwhile shows the disconnected state at
    // once, and this attempt gives up when the lookup returns.
    std::optional<std::string> dotted;
    if (!layer_.RunExchange([&] { dotted = opener_.LookUpIPv4(address.host); })) {
      return {ConnectOutcome::Disconnected, {}};
    }
    if (!dotted) {
      layer_.ErrorBeep();
      layer_.SetStatusText("No such host:" + PrepareAddressText(ipText));
      window_.SetConnectDown(false);
      return {ConnectOutcome::NoSuchHost, {}};
    }
    window_.SetPanelText(1, *dotted);
    std::unique_ptr<TcpChannel> socket;
    const int tcpPort = address.port.value_or(port);
    AbortSignal& abort = opener_.ConnectAbort();
    abort.Reset();
    const bool ended =
        layer_.RunExchange([&] { socket = opener_.OpenTcp(*dotted, tcpPort); }, [&abort] { abort.Abort(); });
    layer_.AttachTcp(std::move(socket));
    if (!ended) {
      layer_.CloseLink();
      return {ConnectOutcome::Disconnected, {}};
    }
  } else {
    std::unique_ptr<SerialChannel> serial;
    const bool ended = layer_.RunExchange([&] { serial = opener_.OpenSerial(address.device); });
    layer_.AttachSerial(std::move(serial));
    if (!ended) {
      layer_.CloseLink();
      return {ConnectOutcome::Disconnected, {}};
    }
  }
  if (!layer_.State().tcpSocket && !layer_.State().serialPort) {
    window_.SetConnectDown(false);
    return {ConnectOutcome::OpenFailed, {}};
  }

  std::uint8_t* buffer = layer_.CommandBuffer();
  const int result = layer_.SendBinaryCommand(128, 0, buffer);
  if (result < 1 && !window_.ConnectDown() && !layer_.State().tcpSocket && !layer_.State().serialPort) {
    // Released while the model query waited: Disconnect has said all there is to say.
    return {ConnectOutcome::Disconnected, {}};
  }
  if (result < 1) {
    window_.SetPanelText(0, "Can't connect");
    window_.SetConnectDown(false);
    layer_.ErrorBeep();
    return {ConnectOutcome::CantConnect, {}};
  }
  std::string model = ModelFromReply(
      std::string_view(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(result)));
  window_.SetPanelText(0, " Connected");
  window_.SetPanelText(1, " Model:" + model);
  // A double failure switched the status poll off; a fresh connection switches it on again.
  window_.SetTimer1Enabled(true);
  return {ConnectOutcome::Connected, std::move(model)};
}

}  // namespace varnok
