#pragma once
#include <array>
#include <asio.hpp>
#include <deque>
#include <memory>

#include "tools/varnok-sim/SimRequestHandler.h"
#include "tools/varnok-sim/SimSerialEndpoint.h"

namespace varnok::sim {

// The instrument's serial port: a pseudo-terminal's master side, or a real port on Windows. Frames and
// text lines are answered one after the other, each as its plan says.
class SimSerialSide : public std::enable_shared_from_this<SimSerialSide> {
 public:
  SimSerialSide(SimRequestHandler& handler, asio::io_context& io, SerialStream stream);
  void Start();
  void Close();

 private:
  void Read();
  void WatchPartial();
  void ProcessQueue();

  SimRequestHandler& handler_;
  SerialStream master_;
  asio::steady_timer timer_;
  asio::steady_timer idleTimer_;
  std::uint64_t partialGeneration_ = 0;
  std::array<std::uint8_t, 1024> buffer_{};
  SerialInput input_;
  std::deque<SerialMessage> queue_;
};

}  // namespace varnok::sim
