#pragma once
#include <chrono>
#include <memory>
#include <string>

#include "link/AbortSignal.h"
#include "link/LinkTrace.h"
#include "link/TcpChannel.h"

namespace varnok {

// A TCP connection over an Asio socket. Every wait is bounded: the connect by `connectLimit`, the
// writability and readability waits by the caller's limit. Lingering on close is switched on.
class TcpTransport : public TcpChannel {
 public:
  // Connects to a dotted IPv4 address; a port of 0 or below means 502. Null when the address is not
  // dotted IPv4, or the connection is refused or does not complete within `connectLimit`.
  static std::unique_ptr<TcpTransport> Connect(const std::string& dottedAddress, int port,
                                               std::chrono::milliseconds connectLimit, LinkTrace trace = {},
                                               AbortSignal* abort = nullptr);
  ~TcpTransport() override;

  bool WaitWritable(std::chrono::milliseconds limit) override;
  bool WaitReadable(std::chrono::milliseconds limit) override;
  int Send(const std::uint8_t* bytes, std::size_t count) override;
  int Receive(std::uint8_t* buffer, std::size_t room) override;
  void DiscardInput() override;
  void Close() override;
  void Abort() override;

  // Sets the kernel's send buffer of the connection (SO_SNDBUF). Tests make it small so that a peer
  // that stops reading fills it after a few requests. False when the system refuses.
  bool SetSendBufferSize(int bytes);

  // The port a connection uses: 0 or below means the instrument's port 502.
  static int EffectivePort(int port) { return port <= 0 ? 502 : port; }

  // The linger time set on every connection (Linux has no system default; zero would reset the
  // connection on close instead of lingering).
  static constexpr int kLingerSeconds = 5;

 private:
  struct Impl;
  explicit TcpTransport(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace varnok
