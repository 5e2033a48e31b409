#include "link/AsioLinkOpener.h"

#include <asio.hpp>

#include "link/SerialTransport.h"
#include "link/TcpTransport.h"

namespace varnok {

AsioLinkOpener::AsioLinkOpener(LinkTimeouts timeouts, LinkTrace trace)
    : timeouts_(timeouts), trace_(std::move(trace)) {}

std::optional<std::string> AsioLinkOpener::LookUpIPv4(const std::string& name) {
  if (name.empty()) return std::nullopt;
  asio::error_code ec;
  const auto dotted = asio::ip::make_address_v4(name, ec);
  if (!ec) return dotted.to_string();
  asio::io_context io;
  asio::ip::tcp::resolver resolver(io);
  const auto results = resolver.resolve(asio::ip::tcp::v4(), name, "", ec);
  if (ec) return std::nullopt;
  for (const auto& entry : results) {
    const auto address = entry.endpoint().address();
    if (address.is_v4()) return address.to_v4().to_string();
  }
  return std::nullopt;
}

std::unique_ptr<TcpChannel> AsioLinkOpener::OpenTcp(const std::string& dottedAddress, int port) {
  return TcpTransport::Connect(dottedAddress, port, timeouts_.tcpConnect, trace_, &ConnectAbort());
}

std::unique_ptr<SerialChannel> AsioLinkOpener::OpenSerial(const std::string& device) {
  return SerialTransport::Open(device, timeouts_, trace_);
}

}  // namespace varnok
