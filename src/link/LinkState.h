#pragma once
#include <memory>

#include "link/SerialChannel.h"
#include "link/TcpChannel.h"

namespace varnok {

// The one open link of the process. Connecting stores a link here; the command layer closes it.
struct LinkState {
  std::unique_ptr<TcpChannel> tcpSocket;      // the open TCP connection, or none
  std::unique_ptr<SerialChannel> serialPort;  // the open serial port, or none
  bool serialLink = false;                    // true exactly while the open link is a serial port
  int failureCount = 0;                       // failed text commands since start; never reset
};

}  // namespace varnok
