#include "link/TcpTransport.h"

#include <asio.hpp>

namespace varnok {

struct TcpTransport::Impl {
  asio::io_context io;
  asio::ip::tcp::socket socket{io};
  LinkTrace trace;
  AbortSignal abort;

  // Runs the started operation for at most `limit`, or until `signal` is given; cancels it when it has
  // not finished. True when the operation finished by itself.
  bool RunFor(std::chrono::milliseconds limit, const bool& done, AbortSignal& signal) {
    io.restart();
    if (signal.Enter([this] { io.stop(); })) {
      io.run_for(limit);
      if (signal.Leave() && done) return true;
    }
    asio::error_code ignored;
    socket.cancel(ignored);
    io.restart();  // also after an abort, which stopped the context before the operation ended
    io.run();
    return false;
  }

  bool Wait(asio::ip::tcp::socket::wait_type what, std::chrono::milliseconds limit) {
    if (!socket.is_open()) return false;
    bool done = false;
    asio::error_code result;
    socket.async_wait(what, [&](const asio::error_code& ec) {
      done = true;
      result = ec;
    });
    return RunFor(limit, done, abort) && !result;
  }
};

TcpTransport::TcpTransport(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

TcpTransport::~TcpTransport() { Close(); }

std::unique_ptr<TcpTransport> TcpTransport::Connect(const std::string& dottedAddress, int port,
                                                    std::chrono::milliseconds connectLimit, LinkTrace trace,
                                                    AbortSignal* abort) {
  port = EffectivePort(port);
  if (port > 65535) return nullptr;
  asio::error_code ec;
  const auto address = asio::ip::make_address_v4(dottedAddress, ec);
  if (ec) return nullptr;
  auto impl = std::make_unique<Impl>();
  impl->trace = std::move(trace);
  impl->socket.open(asio::ip::tcp::v4(), ec);
  if (ec) return nullptr;
  asio::error_code ignored;
  impl->socket.set_option(asio::socket_base::linger(true, kLingerSeconds), ignored);
  bool done = false;
  asio::error_code result;
  impl->socket.async_connect(asio::ip::tcp::endpoint(address, static_cast<unsigned short>(port)),
                             [&](const asio::error_code& e) {
                               done = true;
                               result = e;
                             });
  if (!impl->RunFor(connectLimit, done, abort != nullptr ? *abort : impl->abort) || result) {
    impl->socket.close(ignored);
    return nullptr;
  }
  impl->socket.set_option(asio::ip::tcp::no_delay(true), ignored);
  impl->socket.non_blocking(true, ignored);
  return std::unique_ptr<TcpTransport>(new TcpTransport(std::move(impl)));
}

bool TcpTransport::WaitWritable(std::chrono::milliseconds limit) {
  return impl_->Wait(asio::ip::tcp::socket::wait_write, limit);
}

bool TcpTransport::WaitReadable(std::chrono::milliseconds limit) {
  return impl_->Wait(asio::ip::tcp::socket::wait_read, limit);
}

int TcpTransport::Send(const std::uint8_t* bytes, std::size_t count) {
  if (!impl_->socket.is_open()) return -1;
  asio::error_code ec;
  const std::size_t sent = impl_->socket.send(asio::buffer(bytes, count), 0, ec);
  if (ec) return -1;
  if (impl_->trace) impl_->trace(TraceDirection::Sent, bytes, sent);
  return static_cast<int>(sent);
}

int TcpTransport::Receive(std::uint8_t* buffer, std::size_t room) {
  if (!impl_->socket.is_open()) return -1;
  asio::error_code ec;
  const std::size_t got = impl_->socket.receive(asio::buffer(buffer, room), 0, ec);
  if (ec == asio::error::eof) return 0;
  if (ec) return -1;
  if (impl_->trace) impl_->trace(TraceDirection::Received, buffer, got);
  return static_cast<int>(got);
}

void TcpTransport::DiscardInput() {
  if (!impl_->socket.is_open()) return;
  std::uint8_t scrap[1024];
  // The socket does not block: this reads what is there and stops. A bounded number of rounds keeps a
  // peer that floods the line from holding us here.
  for (int round = 0; round < 64; ++round) {
    asio::error_code ec;
    if (impl_->socket.available(ec) == 0 || ec) return;
    const std::size_t got = impl_->socket.receive(asio::buffer(scrap), 0, ec);
    if (ec || got == 0) return;
    if (impl_->trace) impl_->trace(TraceDirection::Received, scrap, got);
  }
}

bool TcpTransport::SetSendBufferSize(int bytes) {
  if (!impl_->socket.is_open()) return false;
  asio::error_code ec;
  impl_->socket.set_option(asio::socket_base::send_buffer_size(bytes), ec);
  return !ec;
}

void TcpTransport::Abort() { impl_->abort.Abort(); }

void TcpTransport::Close() {
  if (!impl_ || !impl_->socket.is_open()) return;
  asio::error_code ignored;
  impl_->socket.close(ignored);
}

}  // namespace varnok
