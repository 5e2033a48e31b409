#include <sys/ioctl.h>
#include <termios.h>

#include "link/SerialPortControl.h"

namespace varnok {

bool ClaimExclusiveAccess(asio::serial_port& port) { return ::ioctl(port.native_handle(), TIOCEXCL) == 0; }

void ReleaseExclusiveAccess(asio::serial_port& port) { ::ioctl(port.native_handle(), TIOCNXCL); }

void DiscardDriverInput(asio::serial_port& port) { ::tcflush(port.native_handle(), TCIFLUSH); }

}  // namespace varnok
