#pragma once
#include <memory>
#include <optional>
#include <string>

#include "link/AbortSignal.h"
#include "link/SerialChannel.h"
#include "link/TcpChannel.h"

namespace varnok {

// How connecting reaches the operating system: name lookup and opening a link. AsioLinkOpener is the
// real one; tests use fakes.
class LinkOpener {
 public:
  virtual ~LinkOpener() = default;
  // The first IPv4 address of a host name, in dotted form; a dotted address comes back unchanged.
  virtual std::optional<std::string> LookUpIPv4(const std::string& name) = 0;
  // Null when the connection is refused or does not complete in time.
  virtual std::unique_ptr<TcpChannel> OpenTcp(const std::string& dottedAddress, int port) = 0;
  // Null when the device does not exist, is in use or refuses the settings.
  virtual std::unique_ptr<SerialChannel> OpenSerial(const std::string& device) = 0;

  // Given while a connection attempt waits (the technician released Connect): the attempt ends at once.
  AbortSignal& ConnectAbort() { return connectAbort_; }

 private:
  AbortSignal connectAbort_;
};

}  // namespace varnok
