#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace varnok {

// One open TCP connection as the tunnel uses it. TcpTransport is the real one; tests use fakes.
class TcpChannel {
 public:
  virtual ~TcpChannel() = default;
  // Wait at most `limit` for the socket to become writable / readable. False on time-out or failure.
  virtual bool WaitWritable(std::chrono::milliseconds limit) = 0;
  virtual bool WaitReadable(std::chrono::milliseconds limit) = 0;
  // One send call: the number of bytes accepted, or -1 on failure.
  virtual int Send(const std::uint8_t* bytes, std::size_t count) = 0;
  // One receive call: bytes received (1..room), 0 when the peer closed, -1 on failure.
  virtual int Receive(std::uint8_t* buffer, std::size_t room) = 0;
  // Drops every byte already received but not yet read (left over from an earlier, failed exchange).
  virtual void DiscardInput() = 0;
  virtual void Close() = 0;
  // From any thread: ends a wait in progress at once, and makes every later wait fail at once. Closing
  // stays for the owner to do.
  virtual void Abort() {}
};

}  // namespace varnok
