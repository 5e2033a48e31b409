#pragma once
#include <array>
#include <asio.hpp>
#include <memory>
#include <vector>

#include "tools/varnok-sim/SimRequestHandler.h"

namespace varnok::sim {

// One TCP client of the simulator. Requests on one connection are answered one after the other, each
// as its plan says.
class SimTcpSession : public std::enable_shared_from_this<SimTcpSession> {
 public:
  SimTcpSession(SimRequestHandler& handler, asio::ip::tcp::socket socket);
  void Start();
  void Close();

 private:
  void Read();
  void ProcessInbox();
  void Stop(Step::Action action);

  SimRequestHandler& handler_;
  asio::ip::tcp::socket socket_;
  asio::steady_timer timer_;
  std::array<std::uint8_t, 2048> buffer_{};
  std::vector<std::uint8_t> inbox_;
  std::shared_ptr<SimTcpSession> stalled_;  // holds a session that stopped reading until Close
};

}  // namespace varnok::sim
