#include "SimServer.h"

#include <asio.hpp>
#include <chrono>
#include <deque>
#include <filesystem>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "Instrument.h"
#include "InstrumentState.h"
#include "SerialCodec.h"
#include "SimFault.h"
#include "SimSerialEndpoint.h"
#include "TunnelCodec.h"

namespace varnok::sim {

namespace {

using namespace std::chrono_literals;

constexpr auto kSplitPause = 50ms;     // between the two parts of a split reply
constexpr auto kLatePause = 30ms;      // between a stale reply and the right one
constexpr auto kSerialRetry = 50ms;    // while no one holds the pseudo-terminal open
constexpr auto kPartialTimeout = 1500ms;
constexpr std::size_t kMaxSerialText = 16384;
constexpr std::size_t kMaxFrameReply = 255;
constexpr std::size_t kMaxRecordedRequests = 100000;

// One write of a reply, possibly after a pause; or the end of the connection.
struct Step {
  std::vector<std::uint8_t> bytes;
  std::chrono::milliseconds delay{0};
  bool close = false;
};
using Plan = std::vector<Step>;

// Splits `bytes` into two steps at `cut` with a pause between them.
void AddSplit(Plan& plan, std::vector<std::uint8_t> bytes, std::size_t cut) {
  if (cut == 0 || cut >= bytes.size()) {
    plan.push_back({std::move(bytes)});
    return;
  }
  plan.push_back({{bytes.begin(), bytes.begin() + cut}});
  plan.push_back({{bytes.begin() + cut, bytes.end()}, kSplitPause});
}

// Writes the steps of a plan one after the other on `stream`, then calls `done`.
// `closeFn` runs instead when a step closes the connection or a write fails.
template <typename Stream>
void RunPlan(Stream& stream, asio::steady_timer& timer, std::shared_ptr<Plan> plan, std::size_t i,
             std::shared_ptr<void> keepAlive, std::function<void()> done,
             std::function<void()> closeFn) {
  if (i == plan->size()) {
    done();
    return;
  }
  auto go = [&stream, &timer, plan, i, keepAlive, done, closeFn]() {
    Step& step = (*plan)[i];
    if (step.close) {
      closeFn();
      return;
    }
    asio::async_write(stream, asio::buffer(step.bytes),
                      [&stream, &timer, plan, i, keepAlive, done, closeFn](std::error_code ec,
                                                                            std::size_t) {
                        if (ec) {
                          closeFn();
                          return;
                        }
                        RunPlan(stream, timer, plan, i + 1, keepAlive, done, closeFn);
                      });
  };
  if ((*plan)[i].delay.count() > 0) {
    timer.expires_after((*plan)[i].delay);
    timer.async_wait([go](std::error_code ec) {
      if (!ec) go();
    });
  } else {
    go();
  }
}

std::string Prefix(const std::vector<Fault>& faults, const std::string& model) {
  return FindFault(faults, FaultKind::kBanner)
             ? "Torvelmandra " + model + " V6.00 ready\r\n"
             : std::string();
}

}  // namespace

struct SimServer::Impl {
  explicit Impl(SimOptions o) : options(std::move(o)), instrument(options.model, faults) {}

  SimOptions options;
  FaultSet faults;
  Instrument instrument;

  asio::io_context io;
  std::optional<asio::executor_work_guard<asio::io_context::executor_type>> work;
  std::thread thread;
  bool started = false;

  std::unique_ptr<asio::ip::tcp::acceptor> acceptor;
  int tcpPort = 0;

  class TcpSession;
  std::vector<std::weak_ptr<TcpSession>> sessions;  // touched on the I/O thread only

  class SerialSide;
  std::shared_ptr<SerialSide> serial;
  std::string serialPath;

  mutable std::mutex receivedMutex;
  std::deque<std::vector<std::uint8_t>> received;

  void Record(const std::vector<std::uint8_t>& raw) {
    std::lock_guard lock(receivedMutex);
    received.push_back(raw);
    // A simulator left running for days keeps only the latest requests.
    if (received.size() > kMaxRecordedRequests) received.pop_front();
  }

  void Accept();
  Plan AnswerTunnel(const std::vector<std::uint8_t>& frame);
  Plan AnswerSerial(const SerialMessage& message);
  std::string Model() {
    std::string model;
    instrument.WithState([&](InstrumentState& s) { model = s.model; });
    return model;
  }
};

// One TCP client. Requests on one connection are answered one after the other.
class SimServer::Impl::TcpSession : public std::enable_shared_from_this<TcpSession> {
 public:
  TcpSession(Impl& impl, asio::ip::tcp::socket socket)
      : impl_(impl), socket_(std::move(socket)), timer_(socket_.get_executor()) {}

  void Start() { Read(); }

  void Close() {
    std::error_code ignored;
    timer_.cancel();
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
  }

 private:
  void Read() {
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

  void ProcessInbox() {
    while (true) {
      const auto size = TunnelRequestSize(inbox_);
      if (!size) break;
      if (*size < 8 || *size > 6 + kMaxTunnelLengthField) {  // not a request the instrument knows
        Close();
        return;
      }
      if (inbox_.size() < *size) break;
      std::vector<std::uint8_t> frame(inbox_.begin(), inbox_.begin() + *size);
      inbox_.erase(inbox_.begin(), inbox_.begin() + *size);
      auto plan = std::make_shared<Plan>(impl_.AnswerTunnel(frame));
      if (plan->empty()) continue;
      auto self = shared_from_this();
      RunPlan(socket_, timer_, plan, 0, self, [self] { self->ProcessInbox(); },
              [self] { self->Close(); });
      return;
    }
    Read();
  }

  Impl& impl_;
  asio::ip::tcp::socket socket_;
  asio::steady_timer timer_;
  std::array<std::uint8_t, 2048> buffer_{};
  std::vector<std::uint8_t> inbox_;
};

// The instrument's serial port: a pseudo-terminal's master side, or a real port on Windows.
class SimServer::Impl::SerialSide : public std::enable_shared_from_this<SerialSide> {
 public:
  SerialSide(Impl& impl, SerialStream stream)
      : impl_(impl), master_(std::move(stream)), timer_(impl.io), idleTimer_(impl.io) {}

  void Start() { Read(); }

  void Close() {
    std::error_code ignored;
    timer_.cancel();
    idleTimer_.cancel();
    master_.close(ignored);
  }

 private:
  void Read() {
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
      self->input_.Feed(std::span(self->buffer_.data(), n), messages);
      for (auto& m : messages) self->queue_.push_back(std::move(m));
      self->WatchPartial();
      self->ProcessQueue();
    });
  }

  // A frame or line begun and then abandoned is forgotten after a quiet spell.
  void WatchPartial() {
    if (!input_.HasPartial()) return;
    const auto generation = ++partialGeneration_;
    auto self = shared_from_this();
    idleTimer_.expires_after(kPartialTimeout);
    idleTimer_.async_wait([self, generation](std::error_code ec) {
      if (!ec && generation == self->partialGeneration_) self->input_.DropPartial();
    });
  }

  void ProcessQueue() {
    while (!queue_.empty()) {
      SerialMessage message = std::move(queue_.front());
      queue_.pop_front();
      auto plan = std::make_shared<Plan>(impl_.AnswerSerial(message));
      if (plan->empty()) continue;
      auto self = shared_from_this();
      RunPlan(master_, timer_, plan, 0, self, [self] { self->ProcessQueue(); },
              [self] { self->ProcessQueue(); });
      return;
    }
    Read();
  }

  Impl& impl_;
  SerialStream master_;
  asio::steady_timer timer_;
  asio::steady_timer idleTimer_;
  std::uint64_t partialGeneration_ = 0;
  std::array<std::uint8_t, 1024> buffer_{};
  SerialInput input_;
  std::deque<SerialMessage> queue_;
};

void SimServer::Impl::Accept() {
  acceptor->async_accept([this](std::error_code ec, asio::ip::tcp::socket socket) {
    if (ec == asio::error::operation_aborted || !acceptor->is_open()) return;
    if (!ec) {
      std::error_code ignored;
      socket.set_option(asio::ip::tcp::no_delay(true), ignored);
      auto session = std::make_shared<TcpSession>(*this, std::move(socket));
      std::erase_if(sessions, [](const auto& w) { return w.expired(); });
      sessions.push_back(session);
      session->Start();
    }
    Accept();
  });
}

Plan SimServer::Impl::AnswerTunnel(const std::vector<std::uint8_t>& frame) {
  Record(frame);
  Plan plan;
  const auto decoded = DecodeTunnelRequest(frame);
  if (!decoded.request) {
    const std::uint16_t id = static_cast<std::uint16_t>((frame[0] << 8) | frame[1]);
    const std::uint8_t unit = frame.size() > 6 ? frame[6] : 0;
    const std::uint8_t function = frame.size() > 7 ? frame[7] : 0x17;
    plan.push_back({BuildTunnelException(id, unit, function, decoded.exceptionCode)});
    return plan;
  }
  const TunnelRequest& req = *decoded.request;
  const bool text = req.code == 128 && !req.data.empty();
  const std::string textCommand(req.data.begin(), req.data.end());
  std::vector<Fault> active;
  if (!(text && Instrument::IsControlCommand(textCommand))) {
    active = faults.Take({Transport::kTcp, text, req.code});
  }
  if (FindFault(active, FaultKind::kClose)) {
    plan.push_back({{}, {}, true});
    return plan;
  }
  if (FindFault(active, FaultKind::kNoReply)) return plan;
  std::vector<std::uint8_t> response;
  if (FindFault(active, FaultKind::kException)) {
    response = BuildTunnelException(req.transactionId, req.unit, 0x17, 0x04);
  } else {
    std::vector<std::uint8_t> reply;
    if (const Fault* refuse = FindFault(active, FaultKind::kRefuse)) {
      reply = {static_cast<std::uint8_t>(refuse->value)};
    } else if (text) {
      const std::string answer =
          Prefix(active, Model()) + instrument.HandleText(textCommand, kMaxTunnelReply, Transport::kTcp);
      reply.assign(answer.begin(), answer.end());
    } else {
      reply = instrument.HandleCoded(req.code, req.data, kMaxTunnelReply, Transport::kTcp);
    }
    response = BuildTunnelResponse(req.transactionId, req.unit, reply);
  }
  if (FindFault(active, FaultKind::kLateId)) {
    const std::uint8_t stale[] = {'l', 'a', 't', 'e'};
    plan.push_back(
        {BuildTunnelResponse(static_cast<std::uint16_t>(req.transactionId - 1), req.unit, stale)});
    plan.push_back({std::move(response), kLatePause});
    return plan;
  }
  if (const Fault* cut = FindFault(active, FaultKind::kShort)) {
    response.resize(std::min<std::size_t>(response.size(), cut->count));
  }
  if (FindFault(active, FaultKind::kSplit)) {
    // The first part carries the whole header and half the reply data.
    const std::size_t cut = response.size() > 11 ? 11 + (response.size() - 11) / 2 : 0;
    AddSplit(plan, std::move(response), cut);
  } else {
    plan.push_back({std::move(response)});
  }
  return plan;
}

Plan SimServer::Impl::AnswerSerial(const SerialMessage& message) {
  Record(message.raw);
  Plan plan;
  if (message.kind == SerialMessage::Kind::kFrame) {
    if (!message.checkOk) {
      plan.push_back({{kNak}});
      return plan;
    }
    const auto active = faults.Take({Transport::kSerial, false, message.code});
    if (FindFault(active, FaultKind::kNoReply)) return plan;
    if (FindFault(active, FaultKind::kNak)) {
      plan.push_back({{kNak}});
      return plan;
    }
    std::vector<std::uint8_t> reply;
    if (const Fault* refuse = FindFault(active, FaultKind::kRefuse)) {
      reply = {static_cast<std::uint8_t>(refuse->value)};
    } else {
      reply = instrument.HandleCoded(message.code, message.data, kMaxFrameReply, Transport::kSerial);
    }
    std::vector<std::uint8_t> frame = BuildSerialFrame(kInstrumentAddress, message.code, reply);
    if (FindFault(active, FaultKind::kBadCheck)) frame.back() ^= 0xFF;
    if (FindFault(active, FaultKind::kBodyCut)) {
      // The header arrives, the body stops half-way (a bare 3-byte frame loses its check).
      const std::size_t keep = frame.size() > 3 ? 3 + (frame.size() - 3) / 2 : 2;
      frame.resize(keep);
    }
    if (const Fault* cut = FindFault(active, FaultKind::kShort)) {
      frame.resize(std::min<std::size_t>(frame.size(), cut->count));
    }
    std::vector<std::uint8_t> out{kAck};
    out.insert(out.end(), frame.begin(), frame.end());
    if (FindFault(active, FaultKind::kSplit)) {
      AddSplit(plan, std::move(out), 1 + frame.size() / 2);
    } else {
      plan.push_back({std::move(out)});
    }
    return plan;
  }

  std::vector<Fault> active;
  if (!Instrument::IsControlCommand(message.text)) {
    active = faults.Take({Transport::kSerial, true, -1});
  }
  if (FindFault(active, FaultKind::kNoReply)) return plan;
  std::string reply = Prefix(active, Model()) +
                      instrument.HandleText(message.text, kMaxSerialText, Transport::kSerial);
  if (FindFault(active, FaultKind::kTextCut)) {
    // Stop in the middle of the first line that is not a banner.
    const std::size_t start = reply.starts_with("Torvelmandra") ? reply.find("\r\n") + 2 : 0;
    std::size_t end = reply.find("\r\n", start);
    if (end == std::string::npos) end = reply.size();
    reply.resize(start + std::max<std::size_t>(1, (end - start) / 2));
  }
  if (const Fault* cut = FindFault(active, FaultKind::kShort)) {
    reply.resize(std::min<std::size_t>(reply.size(), cut->count));
  }
  std::vector<std::uint8_t> bytes(reply.begin(), reply.end());
  if (FindFault(active, FaultKind::kSplit)) {
    const std::size_t cut = bytes.size() / 2;
    AddSplit(plan, std::move(bytes), cut);
  } else {
    plan.push_back({std::move(bytes)});
  }
  return plan;
}

SimServer::SimServer(SimOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {
  for (const auto& form : impl_->options.faults) impl_->faults.Set(form);
}

SimServer::~SimServer() { Stop(); }

void SimServer::Start() {
  Impl& d = *impl_;
  if (d.started) return;
  if (d.options.tcp) {
    auto address = asio::ip::make_address(d.options.tcpAddress);
    const auto port = static_cast<unsigned short>(d.options.tcpPort);
    d.acceptor = std::make_unique<asio::ip::tcp::acceptor>(d.io);
    std::error_code ec;
    d.acceptor->open(address.is_v6() ? asio::ip::tcp::v6() : asio::ip::tcp::v4(), ec);
    if (!ec) d.acceptor->set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec) d.acceptor->bind({address, port}, ec);
    if (!ec) d.acceptor->listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
      d.acceptor.reset();
      throw std::runtime_error("cannot listen on TCP port " + std::to_string(port) + ": " +
                               ec.message());
    }
    d.tcpPort = d.acceptor->local_endpoint().port();
    d.Accept();
  }
  if (d.options.serial) {
    SerialEndpoint endpoint = OpenSerialEndpoint(d.io, d.options);
    d.serialPath = endpoint.devicePath;
    d.serial = std::make_shared<Impl::SerialSide>(d, std::move(endpoint.stream));
    d.serial->Start();
  }
  d.work.emplace(d.io.get_executor());
  d.thread = std::thread([&d] { d.io.run(); });
  d.started = true;
}

void SimServer::Stop() {
  Impl& d = *impl_;
  if (!d.started) return;
  d.started = false;
  auto closed = std::make_shared<std::promise<void>>();
  auto closedFuture = closed->get_future();
  asio::post(d.io, [&d, closed] {
    std::error_code ignored;
    if (d.acceptor) d.acceptor->close(ignored);
    for (auto& w : d.sessions) {
      if (auto s = w.lock()) s->Close();
    }
    if (d.serial) d.serial->Close();
    closed->set_value();
  });
  closedFuture.wait_for(2s);
  d.work.reset();
  d.io.stop();
  if (d.thread.joinable()) d.thread.join();
  d.sessions.clear();
  d.serial.reset();
  d.acceptor.reset();
  if (d.options.serial) RemoveSerialEndpointTraces(d.options);
}

int SimServer::TcpPort() const { return impl_->tcpPort; }

std::string SimServer::SerialPath() const { return impl_->serialPath; }

void SimServer::ArmFault(const std::string& form) { impl_->faults.Arm(form); }

void SimServer::SetFault(const std::string& form) { impl_->faults.Set(form); }

void SimServer::ClearFaults() { impl_->faults.Clear(); }

void SimServer::WithState(const std::function<void(InstrumentState&)>& fn) {
  impl_->instrument.WithState(fn);
}

std::vector<std::vector<std::uint8_t>> SimServer::ReceivedRequests() const {
  std::lock_guard lock(impl_->receivedMutex);
  return {impl_->received.begin(), impl_->received.end()};
}

}  // namespace varnok::sim
