#pragma once
#include "link/LinkOpener.h"
#include "link/LinkTimeouts.h"
#include "link/LinkTrace.h"

namespace varnok {

// Opens real links: TcpTransport and SerialTransport, looking names up with the system resolver.
class AsioLinkOpener : public LinkOpener {
 public:
  explicit AsioLinkOpener(LinkTimeouts timeouts = {}, LinkTrace trace = {});
  std::optional<std::string> LookUpIPv4(const std::string& name) override;
  std::unique_ptr<TcpChannel> OpenTcp(const std::string& dottedAddress, int port) override;
  std::unique_ptr<SerialChannel> OpenSerial(const std::string& device) override;

 private:
  LinkTimeouts timeouts_;
  LinkTrace trace_;
};

}  // namespace varnok
