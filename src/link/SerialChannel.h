#pragma once
#include <cstddef>
#include <cstdint>

namespace varnok {

// One open serial port as the line mode and the frames use it. SerialTransport is the real one;
// tests use fakes.
class SerialChannel {
 public:
  virtual ~SerialChannel() = default;
  // Writes all bytes; false when the write failed or did not end in time.
  virtual bool Write(const std::uint8_t* bytes, std::size_t count) = 0;
  // Reads up to `count` bytes within the read time-out (per byte plus a constant). Returns the number of
  // bytes that arrived (0..count), or -1 when the read failed before any byte arrived.
  virtual int Read(std::uint8_t* buffer, std::size_t count) = 0;
  // Drops every byte received but not yet read.
  virtual void DiscardInput() = 0;
  virtual void Close() = 0;
  // From any thread: ends a wait in progress at once, and makes every later wait fail at once. Closing
  // stays for the owner to do.
  virtual void Abort() {}
};

}  // namespace varnok
