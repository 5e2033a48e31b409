#include <stdexcept>

#include "tools/varnok-sim/SimSerialEndpoint.h"

namespace varnok::sim {

SerialEndpoint OpenSerialEndpoint(asio::io_context& io, const SimOptions& options) {
  if (options.serialPort.empty()) {
    throw std::runtime_error("Windows has no pseudo-terminals: name a serial port with --serial-port");
  }
  // COM1..COM9 open by name; every port opens through the device namespace.
  const std::string device =
      options.serialPort.starts_with("\\\\.\\") ? options.serialPort : "\\\\.\\" + options.serialPort;
  SerialStream port(io);
  asio::error_code ec;
  port.open(device, ec);
  if (ec) throw std::runtime_error("cannot open " + options.serialPort + ": " + ec.message());
  using SP = asio::serial_port_base;
  port.set_option(SP::baud_rate(115200), ec);
  if (!ec) port.set_option(SP::parity(SP::parity::even), ec);
  if (!ec) port.set_option(SP::character_size(8), ec);
  if (!ec) port.set_option(SP::stop_bits(SP::stop_bits::one), ec);
  if (!ec) port.set_option(SP::flow_control(SP::flow_control::none), ec);
  if (ec) throw std::runtime_error("cannot set up " + options.serialPort + ": " + ec.message());
  return SerialEndpoint{std::move(port), options.serialPort};
}

void RemoveSerialEndpointTraces(const SimOptions&) {}

}  // namespace varnok::sim
