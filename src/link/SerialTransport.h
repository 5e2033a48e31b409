#pragma once
#include <chrono>
#include <memory>
#include <string>

#include "link/LinkTimeouts.h"
#include "link/LinkTrace.h"
#include "link/SerialChannel.h"

namespace varnok {

// A serial port over Asio: 115200 baud, even parity, 8 data bits, 1 stop bit, no flow control, held
// exclusively. A read of n bytes waits at most n * serialPerByte + serialConstant; a write is bounded
// the same way (a port that never drains must not hang the program).
class SerialTransport : public SerialChannel {
 public:
  static constexpr unsigned kBaudRate = 115200;

  // Null when the device does not exist, is held by another program, or refuses the settings.
  static std::unique_ptr<SerialTransport> Open(const std::string& device, LinkTimeouts timeouts = {},
                                               LinkTrace trace = {});
  ~SerialTransport() override;

  bool Write(const std::uint8_t* bytes, std::size_t count) override;
  int Read(std::uint8_t* buffer, std::size_t count) override;
  void DiscardInput() override;
  void Close() override;
  void Abort() override;

 private:
  struct Impl;
  explicit SerialTransport(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace varnok
