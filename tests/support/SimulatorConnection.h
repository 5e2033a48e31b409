#pragma once
#include <chrono>
#include <string>

#include "link/AsioLinkOpener.h"
#include "link/CommandLayer.h"
#include "link/ConnectionManager.h"
#include "link/LinkTimeouts.h"
#include "tests/support/RecordingLinkWindow.h"
#include "tools/varnok-sim/SimServer.h"

namespace varnok::testing {

// Waits short enough that a silent instrument fails a test quickly.
inline LinkTimeouts ShortTimeouts(std::chrono::milliseconds tcpWait = std::chrono::milliseconds(2000),
                                  std::chrono::milliseconds tcpConnect = std::chrono::milliseconds(3000)) {
  LinkTimeouts t;
  t.tcpWait = tcpWait;
  t.tcpConnect = tcpConnect;
  return t;
}

// The real command layer and an in-process simulated instrument listening on 127.0.0.1 at a free
// port. The simulator runs from construction; Connect() presses Connect and connects through the
// connection manager as the technician would. The link is closed and the simulator stopped at the
// end.
class SimulatorConnection {
 public:
  explicit SimulatorConnection(LinkTimeouts timeouts = ShortTimeouts())
      : server_(ServerOptions()), layer_(window_, timeouts), opener_(timeouts) {
    server_.Start();
  }
  ~SimulatorConnection() {
    layer_.CloseLink();
    server_.Stop();
  }
  SimulatorConnection(const SimulatorConnection&) = delete;
  SimulatorConnection& operator=(const SimulatorConnection&) = delete;

  ConnectResult Connect() {
    ConnectionManager manager(layer_, window_, opener_);
    window_.connectDown = true;  // the technician pressed Connect
    return manager.ConnectBtnClick("127.0.0.1:" + std::to_string(server_.TcpPort()), "502");
  }

  CommandLayer& Layer() { return layer_; }
  sim::SimServer& Server() { return server_; }
  RecordingLinkWindow& Window() { return window_; }

 private:
  static sim::SimOptions ServerOptions() {
    sim::SimOptions options;
    options.tcp = true;
    options.tcpPort = 0;
    return options;
  }

  RecordingLinkWindow window_;
  sim::SimServer server_;
  CommandLayer layer_;
  AsioLinkOpener opener_;
};

}  // namespace varnok::testing
