#pragma once
#include <asio/serial_port.hpp>

namespace varnok {

// Platform control of an open serial port. One implementation file per platform.

// Claims the port for this process alone. False when another user holds it.
bool ClaimExclusiveAccess(asio::serial_port& port);

// Gives the port back to everyone (before it is closed: some terminals keep the claim past the close).
void ReleaseExclusiveAccess(asio::serial_port& port);

// Drops the bytes that the driver has received but nobody has read.
void DiscardDriverInput(asio::serial_port& port);

}  // namespace varnok
