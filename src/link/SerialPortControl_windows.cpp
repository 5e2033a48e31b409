// Asio's socket headers must come before windows.h, so its own header goes first.
#include "link/SerialPortControl.h"

#include <windows.h>

namespace varnok {

// A Windows serial port is opened without sharing: the claim is already this process's alone.
bool ClaimExclusiveAccess(asio::serial_port&) { return true; }

void ReleaseExclusiveAccess(asio::serial_port&) {}

void DiscardDriverInput(asio::serial_port& port) { ::PurgeComm(port.native_handle(), PURGE_RXCLEAR); }

}  // namespace varnok
