#pragma once
#include <string>

#include "link/CommandLayer.h"
#include "link/LinkOpener.h"
#include "link/LinkWindow.h"

namespace varnok {

enum class ConnectOutcome {
  Disconnected,  // the button was up: the link was closed
  Connected,     // the link is open and the model is known
  NoSuchHost,    // the name could not be resolved
  OpenFailed,    // the connection was refused or timed out, or the serial port did not open
  CantConnect,   // the link opened but the model query failed
};

struct ConnectResult {
  ConnectOutcome outcome = ConnectOutcome::OpenFailed;
  std::string modelText;
};

// Connecting and disconnecting, without the window.
//
// Entry point for the main window: its ConnectBtnClick calls
//     ConnectBtnClick(IP->currentText(), TCPPort->text())
// after the button has toggled. The texts of the status panels, the tones, the Connect button and
// Timer1 are set through LinkWindow. On ConnectOutcome::Connected the window then records the address
// with RememberAddress (AddressList.h) on its IP list.
class ConnectionManager {
 public:
  ConnectionManager(CommandLayer& layer, LinkWindow& window, LinkOpener& opener);

  // Button up: Disconnect. Button down: close any leftover link, open the one the address names
  // (dotted IPv4 or host name with an optional ":port", "http://host/", COMn, a device path), ask the
  // instrument for its model and show " Connected" and " Model:" + model; every failure releases the
  // button. After a successful connection the status poll timer runs again.
  ConnectResult ConnectBtnClick(const std::string& ipText, const std::string& portText);

 private:
  CommandLayer& layer_;
  LinkWindow& window_;
  LinkOpener& opener_;
};

}  // namespace varnok
