#include "tools/varnok-sim/SimServer.h"

#include <asio.hpp>
#include <chrono>
#include <deque>
#include <filesystem>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "tools/varnok-sim/Instrument.h"
#include "tools/varnok-sim/InstrumentState.h"
#include "tools/varnok-sim/ReplyPolicy.h"
#include "tools/varnok-sim/SerialCodec.h"
#include "tools/varnok-sim/SimFault.h"
#include "tools/varnok-sim/SimRequestHandler.h"
#include "tools/varnok-sim/SimSerialEndpoint.h"
#include "tools/varnok-sim/SimSerialSide.h"
#include "tools/varnok-sim/SimTcpSession.h"
#include "tools/varnok-sim/TunnelCodec.h"

namespace varnok::sim {

namespace {

using namespace std::chrono_literals;

constexpr std::size_t kMaxSerialText = 16384;
constexpr std::size_t kMaxFrameReply = 255;
constexpr std::size_t kMaxRecordedRequests = 100000;

std::string BannerLine(const std::string& model) { return "Torvelmandra " + model + " V6.00 ready\r\n"; }

template <typename T>
void KeepLatest(std::deque<T>& list, T item) {
  list.push_back(std::move(item));
  // A simulator left running for days keeps only the latest.
  if (list.size() > kMaxRecordedRequests) list.pop_front();
}

}  // namespace

struct SimServer::Impl : SimRequestHandler {
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

  std::vector<std::weak_ptr<SimTcpSession>> sessions;  // touched on the I/O thread only
  std::shared_ptr<SimSerialSide> serial;
  std::string serialPath;

  mutable std::mutex receivedMutex;
  std::deque<std::vector<std::uint8_t>> received;
  std::deque<RequestSummary> summaries;
  std::deque<std::uint8_t> acknowledgements;

  void Record(const std::vector<std::uint8_t>& raw, const RequestSummary& summary) {
    std::lock_guard lock(receivedMutex);
    KeepLatest(received, raw);
    KeepLatest(summaries, summary);
  }

  void RecordAcknowledgements(std::span<const std::uint8_t> bytes) override {
    std::lock_guard lock(receivedMutex);
    for (auto b : bytes) KeepLatest(acknowledgements, b);
  }

  void Accept();
  Plan AnswerTunnel(const std::vector<std::uint8_t>& frame) override;
  Plan AnswerSerial(const SerialMessage& message) override;
  std::string Model() {
    std::string model;
    instrument.WithState([&](InstrumentState& s) { model = s.model; });
    return model;
  }
};

void SimServer::Impl::Accept() {
  acceptor->async_accept([this](std::error_code ec, asio::ip::tcp::socket socket) {
    if (ec == asio::error::operation_aborted || !acceptor->is_open()) return;
    if (!ec) {
      std::error_code ignored;
      socket.set_option(asio::ip::tcp::no_delay(true), ignored);
      auto session = std::make_shared<SimTcpSession>(*this, std::move(socket));
      std::erase_if(sessions, [](const auto& w) { return w.expired(); });
      sessions.push_back(session);
      session->Start();
    }
    Accept();
  });
}

Plan SimServer::Impl::AnswerTunnel(const std::vector<std::uint8_t>& frame) {
  const auto decoded = DecodeTunnelRequest(frame);
  RequestSummary summary;
  summary.unit = frame.size() > 6 ? frame[6] : -1;
  if (!decoded.request) {
    Record(frame, summary);
    return PlanTunnelRefusal(frame, decoded.exceptionCode);
  }
  const TunnelRequest& req = *decoded.request;
  const bool text = req.code == 128 && !req.data.empty();
  summary.text = text;
  summary.code = req.code;
  Record(frame, summary);
  const std::string textCommand(req.data.begin(), req.data.end());
  std::vector<Fault> active;
  if (!(text && Instrument::IsControlCommand(textCommand))) {
    active = faults.Take({Transport::kTcp, text, req.code});
  }
  return PlanTunnelReply(
      req, active,
      [&]() -> std::vector<std::uint8_t> {
        if (!text) return instrument.HandleCoded(req.code, req.data, kMaxTunnelReply, Transport::kTcp);
        const std::string answer = instrument.HandleText(textCommand, kMaxTunnelReply, Transport::kTcp);
        return {answer.begin(), answer.end()};
      },
      BannerLine(Model()));
}

Plan SimServer::Impl::AnswerSerial(const SerialMessage& message) {
  const bool frame = message.kind == SerialMessage::Kind::kFrame;
  Record(message.raw, {false, !frame, frame ? message.code : -1, -1});
  if (frame) {
    std::vector<Fault> active;
    if (message.checkOk) active = faults.Take({Transport::kSerial, false, message.code});
    return PlanSerialFrameReply(message, active, [&] {
      return instrument.HandleCoded(message.code, message.data, kMaxFrameReply, Transport::kSerial);
    });
  }
  std::vector<Fault> active;
  if (!Instrument::IsControlCommand(message.text)) active = faults.Take({Transport::kSerial, true, -1});
  return PlanSerialTextReply(
      active, [&] { return instrument.HandleText(message.text, kMaxSerialText, Transport::kSerial); },
      BannerLine(Model()));
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
      throw std::runtime_error("cannot listen on TCP port " + std::to_string(port) + ": " + ec.message());
    }
    d.tcpPort = d.acceptor->local_endpoint().port();
    d.Accept();
  }
  if (d.options.serial) {
    SerialEndpoint endpoint = OpenSerialEndpoint(d.io, d.options);
    d.serialPath = endpoint.devicePath;
    d.serial = std::make_shared<SimSerialSide>(d, d.io, std::move(endpoint.stream));
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

std::vector<SimServer::RequestSummary> SimServer::ReceivedSummaries() const {
  std::lock_guard lock(impl_->receivedMutex);
  return {impl_->summaries.begin(), impl_->summaries.end()};
}

std::vector<std::uint8_t> SimServer::ReceivedAcknowledgements() const {
  std::lock_guard lock(impl_->receivedMutex);
  return {impl_->acknowledgements.begin(), impl_->acknowledgements.end()};
}

std::vector<std::vector<std::uint8_t>> SimServer::ReceivedRequests() const {
  std::lock_guard lock(impl_->receivedMutex);
  return {impl_->received.begin(), impl_->received.end()};
}

}  // namespace varnok::sim
