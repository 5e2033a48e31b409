#include "tools/varnok-sim/SimTcpSession.h"

#include "tools/varnok-sim/PlanRunner.h"
#include "tools/varnok-sim/TunnelCodec.h"

namespace varnok::sim {

SimTcpSession::SimTcpSession(SimRequestHandler& handler, asio::ip::tcp::socket socket)
    : handler_(handler), socket_(std::move(socket)), timer_(socket_.get_executor()) {}

void SimTcpSession::Start() { Read(); }

void SimTcpSession::Close() {
  std::error_code ignored;
  timer_.cancel();
  socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
  socket_.close(ignored);
  stalled_.reset();
}

void SimTcpSession::Read() {
  auto self = shared_from_this();
  socket_.async_read_some(asio::buffer(buffer_), [self](std::error_code ec, std::size_t n) {
    if (ec) {
      self->Close();
      return;
    }
    self->inbox_.insert(self->inbox_.end(), self->buffer_.begin(), self->buffer_.begin() + n);
    self->ProcessInbox();
  });
}

void SimTcpSession::ProcessInbox() {
  while (true) {
    const auto size = TunnelRequestSize(inbox_);
    if (!size) break;
    if (*size < 8 || *size > 6 + kMaxTunnelLengthField) {  // not a request the instrument knows
      Close();
      return;
    }
    if (inbox_.size() < *size) break;
    std::vector<std::uint8_t> frame(inbox_.begin(), inbox_.begin() + static_cast<std::ptrdiff_t>(*size));
    inbox_.erase(inbox_.begin(), inbox_.begin() + static_cast<std::ptrdiff_t>(*size));
    auto plan = std::make_shared<Plan>(handler_.AnswerTunnel(frame));
    if (plan->empty()) continue;
    auto self = shared_from_this();
    RunPlan(
        socket_, timer_, plan, 0, self, [self] { self->ProcessInbox(); },
        [self](Step::Action action) { self->Stop(action); });
    return;
  }
  Read();
}

void SimTcpSession::Stop(Step::Action action) {
  switch (action) {
    case Step::Action::kStopReading: {
      // Nothing is read any more: what the client sends fills a small receive buffer here, then the
      // client's own send buffer.
      std::error_code ignored;
      socket_.set_option(asio::socket_base::receive_buffer_size(4096), ignored);
      stalled_ = shared_from_this();
    }
      return;
    case Step::Action::kReset: {
      std::error_code ignored;
      socket_.set_option(asio::socket_base::linger(true, 0), ignored);
      timer_.cancel();
      socket_.close(ignored);
      return;
    }
    default:
      Close();
      return;
  }
}

}  // namespace varnok::sim
