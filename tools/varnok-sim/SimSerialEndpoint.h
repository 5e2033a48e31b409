#pragma once
#include <asio.hpp>
#include <string>

#include "tools/varnok-sim/SimServer.h"

namespace varnok::sim {

// The simulator's serial side as the platform offers it. One implementation file per platform:
// - POSIX systems: a new pseudo-terminal; the simulator holds its master side and the console opens
//   the slave device (`devicePath`), optionally reached through the link `SimOptions::serialLink`.
// - Windows: an existing serial port named by `SimOptions::serialPort` (for example one end of a
//   null-modem pair), opened at the line settings the console uses.
#ifdef _WIN32
using SerialStream = asio::serial_port;
#else
using SerialStream = asio::posix::stream_descriptor;
#endif

struct SerialEndpoint {
  SerialStream stream;
  std::string devicePath;  // what the console opens
};

// Opens the serial side and makes the link, if one is asked for. Throws std::runtime_error.
SerialEndpoint OpenSerialEndpoint(asio::io_context& io, const SimOptions& options);

// Removes what OpenSerialEndpoint left outside the process (the link), after the stream is closed.
void RemoveSerialEndpointTraces(const SimOptions& options);

}  // namespace varnok::sim
