#include "ConnectionManager.h"

#include "LinkAddress.h"
#include "ModelFromReply.h"

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
    const auto dotted = opener_.LookUpIPv4(address.host);
    if (!dotted) {
      layer_.ErrorBeep();
      layer_.SetStatusText("No such host:" + PrepareAddressText(ipText));
      window_.SetConnectDown(false);
      return {ConnectOutcome::NoSuchHost, {}};
    }
    window_.SetPanelText(1, *dotted);
    layer_.AttachTcp(opener_.OpenTcp(*dotted, address.port.value_or(port)));
  } else {
    layer_.AttachSerial(opener_.OpenSerial(address.device));
  }
  if (!layer_.State().tcpSocket && !layer_.State().serialPort) {
    window_.SetConnectDown(false);
    return {ConnectOutcome::OpenFailed, {}};
  }

  std::uint8_t* buffer = layer_.CommandBuffer();
  const int result = layer_.SendBinaryCommand(128, 0, buffer);
  if (result < 1) {
    window_.SetPanelText(0, "Can't connect");
    window_.SetConnectDown(false);
    layer_.ErrorBeep();
    return {ConnectOutcome::CantConnect, {}};
  }
  std::string model =
      ModelFromReply(std::string_view(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(result)));
  window_.SetPanelText(0, " Connected");
  window_.SetPanelText(1, " Model:" + model);
  // A double failure switched the status poll off; a fresh connection switches it on again.
  window_.SetTimer1Enabled(true);
  return {ConnectOutcome::Connected, std::move(model)};
}

}  // namespace varnok
