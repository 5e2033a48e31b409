#include "link/SerialTransport.h"

#include <algorithm>
#include <array>
#include <asio.hpp>
#include <cstring>
#include <deque>

#include "link/AbortSignal.h"
#include "link/SerialPortControl.h"

namespace varnok {

struct SerialTransport::Impl {
  asio::io_context io;
  asio::serial_port port{io};
  LinkTimeouts timeouts;
  LinkTrace trace;
  std::deque<std::uint8_t> pending;  // received, not yet handed out
  AbortSignal abort;

  // Runs the started operation for at most `limit`, or until Abort. True unless aborted.
  bool RunFor(std::chrono::nanoseconds limit) {
    io.restart();
    if (!abort.Enter([this] { io.stop(); })) return false;
    io.run_for(limit);
    return abort.Leave();
  }

  std::chrono::milliseconds Limit(std::size_t count) const {
    return timeouts.serialPerByte * static_cast<long>(count) + timeouts.serialConstant;
  }
};

SerialTransport::SerialTransport(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

SerialTransport::~SerialTransport() { Close(); }

std::unique_ptr<SerialTransport> SerialTransport::Open(const std::string& device, LinkTimeouts timeouts,
                                                       LinkTrace trace) {
  auto impl = std::make_unique<Impl>();
  impl->timeouts = timeouts;
  impl->trace = std::move(trace);
  asio::error_code ec;
  impl->port.open(device, ec);
  if (ec) return nullptr;
  if (!ClaimExclusiveAccess(impl->port)) {
    impl->port.close(ec);
    return nullptr;
  }
  using SP = asio::serial_port_base;
  asio::error_code e1, e2, e3, e4, e5;
  impl->port.set_option(SP::baud_rate(kBaudRate), e1);
  impl->port.set_option(SP::parity(SP::parity::even), e2);
  impl->port.set_option(SP::character_size(8), e3);
  impl->port.set_option(SP::stop_bits(SP::stop_bits::one), e4);
  impl->port.set_option(SP::flow_control(SP::flow_control::none), e5);
  if (e1 || e2 || e3 || e4 || e5) {
    impl->port.close(ec);
    return nullptr;
  }
  return std::unique_ptr<SerialTransport>(new SerialTransport(std::move(impl)));
}

bool SerialTransport::Write(const std::uint8_t* bytes, std::size_t count) {
  auto& d = *impl_;
  if (!d.port.is_open()) return false;
  bool done = false;
  asio::error_code result;
  std::size_t written = 0;
  asio::async_write(d.port, asio::buffer(bytes, count), [&](const asio::error_code& ec, std::size_t n) {
    done = true;
    result = ec;
    written = n;
  });
  d.RunFor(d.Limit(count));
  if (!done) {
    asio::error_code ignored;
    d.port.cancel(ignored);
    d.io.restart();
    d.io.run();
    result = asio::error::timed_out;
  }
  if (d.trace && written > 0) d.trace(TraceDirection::Sent, bytes, written);
  return !result && written == count;
}

int SerialTransport::Read(std::uint8_t* buffer, std::size_t count) {
  auto& d = *impl_;
  if (!d.port.is_open()) return -1;
  const auto deadline = std::chrono::steady_clock::now() + d.Limit(count);
  std::array<std::uint8_t, 512> chunk{};
  bool failed = false;
  while (d.pending.size() < count && !failed) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) break;
    bool done = false;
    asio::error_code result;
    std::size_t got = 0;
    d.port.async_read_some(asio::buffer(chunk), [&](const asio::error_code& ec, std::size_t n) {
      done = true;
      result = ec;
      got = n;
    });
    if (!d.RunFor(left)) failed = true;
    if (!done) {
      asio::error_code ignored;
      d.port.cancel(ignored);
      d.io.restart();
      d.io.run();  // completes the cancelled read; it may still have delivered bytes
    }
    if (got > 0) {
      if (d.trace) d.trace(TraceDirection::Received, chunk.data(), got);
      d.pending.insert(d.pending.end(), chunk.begin(), chunk.begin() + static_cast<long>(got));
    }
    if (result && result != asio::error::operation_aborted) failed = true;
  }
  const std::size_t n = std::min(count, d.pending.size());
  if (n == 0 && failed) return -1;
  std::copy_n(d.pending.begin(), n, buffer);
  d.pending.erase(d.pending.begin(), d.pending.begin() + static_cast<long>(n));
  return static_cast<int>(n);
}

void SerialTransport::DiscardInput() {
  auto& d = *impl_;
  d.pending.clear();
  if (d.port.is_open()) DiscardDriverInput(d.port);
}

void SerialTransport::Abort() { impl_->abort.Abort(); }

void SerialTransport::Close() {
  if (!impl_ || !impl_->port.is_open()) return;
  asio::error_code ignored;
  impl_->port.cancel(ignored);
  ReleaseExclusiveAccess(impl_->port);
  impl_->port.close(ignored);
}

}  // namespace varnok
