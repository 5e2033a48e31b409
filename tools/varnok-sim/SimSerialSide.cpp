#include "tools/varnok-sim/SimSerialSide.h"

#include <chrono>

#include "tools/varnok-sim/PlanRunner.h"

namespace varnok::sim {

namespace {
using namespace std::chrono_literals;
constexpr auto kSerialRetry = 50ms;  // while no one holds the pseudo-terminal open
constexpr auto kPartialTimeout = 1500ms;
}  // namespace

SimSerialSide::SimSerialSide(SimRequestHandler& handler, asio::io_context& io, SerialStream stream)
    : handler_(handler), master_(std::move(stream)), timer_(io), idleTimer_(io) {}

void SimSerialSide::Start() { Read(); }

void SimSerialSide::Close() {
  std::error_code ignored;
  timer_.cancel();
  idleTimer_.cancel();
  master_.close(ignored);
}

void SimSerialSide::Read() {
  auto self = shared_from_this();
  master_.async_read_some(asio::buffer(buffer_), [self](std::error_code ec, std::size_t n) {
    if (ec == asio::error::operation_aborted || ec == asio::error::bad_descriptor) return;
    if (ec) {
      // No process holds the slave side open (EIO): look again a little later.
      self->timer_.expires_after(kSerialRetry);
      self->timer_.async_wait([self](std::error_code e) {
        if (!e) self->Read();
      });
      return;
    }
    std::vector<SerialMessage> messages;
    std::vector<std::uint8_t> between;
    self->input_.Feed(std::span(self->buffer_.data(), n), messages, &between);
    if (!between.empty()) self->handler_.RecordAcknowledgements(between);
    for (auto& m : messages) self->queue_.push_back(std::move(m));
    self->WatchPartial();
    self->ProcessQueue();
  });
}

// A frame or line begun and then abandoned is forgotten after a quiet spell.
void SimSerialSide::WatchPartial() {
  if (!input_.HasPartial()) return;
  const auto generation = ++partialGeneration_;
  auto self = shared_from_this();
  idleTimer_.expires_after(kPartialTimeout);
  idleTimer_.async_wait([self, generation](std::error_code ec) {
    if (!ec && generation == self->partialGeneration_) self->input_.DropPartial();
  });
}

void SimSerialSide::ProcessQueue() {
  while (!queue_.empty()) {
    SerialMessage message = std::move(queue_.front());
    queue_.pop_front();
    auto plan = std::make_shared<Plan>(handler_.AnswerSerial(message));
    if (plan->empty()) continue;
    auto self = shared_from_this();
    RunPlan(
        master_, timer_, plan, 0, self, [self] { self->ProcessQueue(); },
        [self](Step::Action action) {
          if (action == Step::Action::kHangUp) {
            self->Close();  // the console's reads and writes fail from now on
            return;
          }
          self->ProcessQueue();
        });
    return;
  }
  Read();
}

}  // namespace varnok::sim
