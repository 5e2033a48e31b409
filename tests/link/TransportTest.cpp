// The Asio transports over a real loopback socket and a real pseudo-terminal.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <asio.hpp>
#include <thread>

#include "tests/link/LinkFakes.h"
#include "tests/link/PtyPair.h"
#include "link/SerialTransport.h"
#include "link/TcpTransport.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::BytesOf;

// A loopback peer that accepts one connection and runs `script` on it in its own thread.
class LoopbackPeer {
 public:
  explicit LoopbackPeer(std::function<void(asio::ip::tcp::socket&)> script)
      : acceptor_(io_, asio::ip::tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0)) {
    thread_ = std::thread([this, script] {
      asio::ip::tcp::socket socket(io_);
      asio::error_code ec;
      acceptor_.accept(socket, ec);
      if (!ec) script(socket);
    });
  }
  ~LoopbackPeer() {
    asio::error_code ignored;
    acceptor_.close(ignored);
    thread_.join();
  }
  int Port() const { return acceptor_.local_endpoint().port(); }

 private:
  asio::io_context io_;
  asio::ip::tcp::acceptor acceptor_;
  std::thread thread_;
};

TEST(TcpTransport, SendsReceivesAndSeesTheClose) {
  LoopbackPeer peer([](asio::ip::tcp::socket& s) {
    std::uint8_t buffer[3];
    asio::error_code ec;
    asio::read(s, asio::buffer(buffer), ec);
    asio::write(s, asio::buffer(BytesOf("pong")), ec);
    std::this_thread::sleep_for(100ms);
    s.close();
  });
  std::vector<std::pair<TraceDirection, Bytes>> traced;
  auto tcp = TcpTransport::Connect("127.0.0.1", peer.Port(), 2000ms,
                                   [&](TraceDirection d, const std::uint8_t* b, std::size_t n) {
                                     traced.emplace_back(d, Bytes(b, b + n));
                                   });
  ASSERT_NE(tcp, nullptr);
  ASSERT_TRUE(tcp->WaitWritable(1000ms));
  const Bytes ping = BytesOf("pin");
  EXPECT_EQ(tcp->Send(ping.data(), ping.size()), 3);
  ASSERT_TRUE(tcp->WaitReadable(2000ms));
  std::uint8_t buffer[16];
  Bytes got;
  while (got.size() < 4) {
    ASSERT_TRUE(tcp->WaitReadable(2000ms));
    const int n = tcp->Receive(buffer, sizeof buffer);
    ASSERT_GT(n, 0);
    got.insert(got.end(), buffer, buffer + n);
  }
  EXPECT_EQ(got, BytesOf("pong"));
  ASSERT_TRUE(tcp->WaitReadable(2000ms));
  EXPECT_EQ(tcp->Receive(buffer, sizeof buffer), 0) << "the peer closed";
  ASSERT_GE(traced.size(), 2u);
  EXPECT_EQ(traced[0], std::make_pair(TraceDirection::Sent, ping));
  EXPECT_EQ(traced[1].first, TraceDirection::Received);
}

TEST(TcpTransport, DiscardDropsOnlyWhatHasArrived) {
  LoopbackPeer peer([](asio::ip::tcp::socket& s) {
    asio::error_code ec;
    asio::write(s, asio::buffer(BytesOf("stale")), ec);
    std::uint8_t go[1];
    asio::read(s, asio::buffer(go), ec);
    asio::write(s, asio::buffer(BytesOf("new")), ec);
    asio::read(s, asio::buffer(go), ec);  // until the client goes
  });
  auto tcp = TcpTransport::Connect("127.0.0.1", peer.Port(), 2000ms);
  ASSERT_NE(tcp, nullptr);
  ASSERT_TRUE(tcp->WaitReadable(2000ms));
  std::this_thread::sleep_for(20ms);
  tcp->DiscardInput();
  const std::uint8_t go = 1;
  ASSERT_EQ(tcp->Send(&go, 1), 1);
  Bytes got;
  std::uint8_t buffer[16];
  while (got.size() < 3 && tcp->WaitReadable(2000ms)) {
    const int n = tcp->Receive(buffer, sizeof buffer);
    if (n <= 0) break;
    got.insert(got.end(), buffer, buffer + n);
  }
  EXPECT_EQ(got, BytesOf("new"));
}

TEST(TcpTransport, ReadabilityWaitEndsAtItsLimit) {
  LoopbackPeer peer([](asio::ip::tcp::socket& s) {
    std::uint8_t buffer[1];
    asio::error_code ec;
    s.read_some(asio::buffer(buffer), ec);  // until the client goes
  });
  auto tcp = TcpTransport::Connect("127.0.0.1", peer.Port(), 2000ms);
  ASSERT_NE(tcp, nullptr);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(tcp->WaitReadable(100ms));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms);
  tcp->Close();
  std::uint8_t b[1];
  EXPECT_EQ(tcp->Receive(b, 1), -1);
  EXPECT_FALSE(tcp->WaitWritable(10ms));
}

TEST(TcpTransport, ConnectThatHangsEndsAtItsLimit) {
  // A listener that never accepts: once its queue is full, further connection attempts go unanswered.
  asio::io_context io;
  asio::ip::tcp::acceptor listener(io, asio::ip::tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0));
  listener.listen(0);
  const int port = listener.local_endpoint().port();
  std::vector<std::unique_ptr<TcpTransport>> queued;
  auto took = std::chrono::steady_clock::duration::zero();
  for (int i = 0; i < 8; ++i) {
    const auto start = std::chrono::steady_clock::now();
    auto tcp = TcpTransport::Connect("127.0.0.1", port, 300ms);
    took = std::chrono::steady_clock::now() - start;
    if (!tcp) break;
    queued.push_back(std::move(tcp));
  }
  ASSERT_LT(queued.size(), 8u) << "the listener's queue never filled";
  EXPECT_GE(took, 250ms);
  EXPECT_LT(took, 3000ms);
}

// Released Connect: another thread ends the wait at once, and later waits fail at once.
TEST(TcpTransport, AbortFromAnotherThreadEndsTheWaitAtOnce) {
  LoopbackPeer peer([](asio::ip::tcp::socket& s) {
    std::uint8_t buffer[1];
    asio::error_code ec;
    s.read_some(asio::buffer(buffer), ec);
  });
  auto tcp = TcpTransport::Connect("127.0.0.1", peer.Port(), 2000ms);
  ASSERT_NE(tcp, nullptr);
  std::thread aborter([&] {
    std::this_thread::sleep_for(100ms);
    tcp->Abort();
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(tcp->WaitReadable(5000ms));
  const auto took = std::chrono::steady_clock::now() - start;
  aborter.join();
  EXPECT_GE(took, 90ms);
  EXPECT_LT(took, 1000ms);
  const auto again = std::chrono::steady_clock::now();
  EXPECT_FALSE(tcp->WaitWritable(5000ms));
  EXPECT_LT(std::chrono::steady_clock::now() - again, 100ms);
  tcp->Close();
}

TEST(TcpTransport, AbortSignalEndsAConnectThatHangs) {
  asio::io_context io;
  asio::ip::tcp::acceptor listener(io, asio::ip::tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0));
  listener.listen(0);
  const int port = listener.local_endpoint().port();
  std::vector<std::unique_ptr<TcpTransport>> queued;
  AbortSignal abort;
  std::thread aborter;
  auto took = std::chrono::steady_clock::duration::zero();
  for (int i = 0; i < 8; ++i) {
    // Every attempt is given the same signal; it is given 150 ms after the attempts begin.
    if (i == 0)
      aborter = std::thread([&] {
        std::this_thread::sleep_for(150ms);
        abort.Abort();
      });
    const auto start = std::chrono::steady_clock::now();
    auto tcp = TcpTransport::Connect("127.0.0.1", port, 5000ms, {}, &abort);
    took = std::chrono::steady_clock::now() - start;
    if (!tcp) break;
    queued.push_back(std::move(tcp));
  }
  aborter.join();
  ASSERT_LT(queued.size(), 8u);
  EXPECT_LT(took, 1000ms) << "the hanging attempt ended with the signal, not at its 5 s limit";
}

TEST(TcpTransport, PortZeroOrNegativeMeans502) {
  const struct {
    int given, used;
  } cases[] = {{0, 502}, {-1, 502}, {-70000, 502}, {1, 1}, {502, 502}, {5020, 5020}};
  for (const auto& c : cases) EXPECT_EQ(TcpTransport::EffectivePort(c.given), c.used) << c.given;
}

TEST(TcpTransport, RefusedOrBadAddressGivesNoConnection) {
  int freePort = 0;
  {
    asio::io_context io;
    asio::ip::tcp::acceptor a(io, asio::ip::tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0));
    freePort = a.local_endpoint().port();
  }
  EXPECT_EQ(TcpTransport::Connect("127.0.0.1", freePort, 2000ms), nullptr);
  EXPECT_EQ(TcpTransport::Connect("not-dotted", 502, 2000ms), nullptr);
  EXPECT_EQ(TcpTransport::Connect("127.0.0.1", 70000, 2000ms), nullptr);
}

LinkTimeouts QuickSerial() {
  LinkTimeouts t;
  t.serialConstant = 100ms;
  t.serialPerByte = 1ms;
  return t;
}

TEST(SerialTransport, ExchangesBytesOverAPseudoTerminal) {
  test::PtyPair pty;
  auto port = SerialTransport::Open(pty.SlavePath(), QuickSerial());
  ASSERT_NE(port, nullptr);
  const Bytes frame = {0x08, 0x80, 0x88};
  ASSERT_TRUE(port->Write(frame.data(), frame.size()));
  EXPECT_EQ(pty.Receive(3, 1000ms), frame);
  pty.Send({0x06, 0x41, 0x42});
  std::uint8_t got[3] = {};
  EXPECT_EQ(port->Read(got, 1), 1);
  EXPECT_EQ(got[0], 0x06);
  EXPECT_EQ(port->Read(got, 3), 2) << "two bytes arrived; the read waits its time-out for the third";
  EXPECT_EQ(got[0], 0x41);
  EXPECT_EQ(got[1], 0x42);
}

TEST(SerialTransport, ReadEndsAfterPerByteTimeAndConstant) {
  test::PtyPair pty;
  LinkTimeouts t;
  t.serialConstant = 150ms;
  t.serialPerByte = 50ms;
  auto port = SerialTransport::Open(pty.SlavePath(), t);
  ASSERT_NE(port, nullptr);
  std::uint8_t got[4];
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(port->Read(got, 4), 0);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 340ms);
  EXPECT_LT(took, 3000ms);
}

TEST(SerialTransport, AbortFromAnotherThreadEndsTheReadAtOnce) {
  test::PtyPair pty;
  LinkTimeouts t;
  t.serialConstant = 5000ms;
  auto port = SerialTransport::Open(pty.SlavePath(), t);
  ASSERT_NE(port, nullptr);
  std::thread aborter([&] {
    std::this_thread::sleep_for(100ms);
    port->Abort();
  });
  std::uint8_t got[4];
  const auto start = std::chrono::steady_clock::now();
  EXPECT_LT(port->Read(got, 4), 1);
  const auto took = std::chrono::steady_clock::now() - start;
  aborter.join();
  EXPECT_LT(took, 1000ms);
  const std::uint8_t byte = 0x41;
  EXPECT_FALSE(port->Write(&byte, 1) && port->Read(got, 1) > 0);
}

TEST(SerialTransport, DiscardDropsWhatArrivedBefore) {
  test::PtyPair pty;
  auto port = SerialTransport::Open(pty.SlavePath(), QuickSerial());
  ASSERT_NE(port, nullptr);
  pty.Send(BytesOf("late reply\r\nOK\r\n"));
  std::uint8_t first = 0;
  ASSERT_EQ(port->Read(&first, 1), 1);  // part of it is already in the transport's own buffer
  std::this_thread::sleep_for(50ms);
  port->DiscardInput();
  pty.Send(BytesOf("X"));
  std::uint8_t got[4] = {};
  EXPECT_EQ(port->Read(got, 4), 1);
  EXPECT_EQ(got[0], 'X');
}

TEST(SerialTransport, MissingDeviceOrSecondUserIsRefused) {
  EXPECT_EQ(SerialTransport::Open("/dev/no-such-serial-port", QuickSerial()), nullptr);
  test::PtyPair pty;
  auto first = SerialTransport::Open(pty.SlavePath(), QuickSerial());
  ASSERT_NE(first, nullptr);
  // The superuser passes an exclusive terminal, so there the claim itself is looked at.
  const bool superuser = ::geteuid() == 0;
  const auto exclusive = [&] {
    const int look = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    int flag = -1;
    if (look >= 0) {
      ::ioctl(look, TIOCGEXCL, &flag);
      ::close(look);
    }
    return flag;
  };
  if (superuser) {
    EXPECT_EQ(exclusive(), 1);
  } else {
    EXPECT_EQ(SerialTransport::Open(pty.SlavePath(), QuickSerial()), nullptr);
  }
  first->Close();
  if (superuser) {
    EXPECT_EQ(exclusive(), 0) << "the claim ends with the close";
  }
  EXPECT_NE(SerialTransport::Open(pty.SlavePath(), QuickSerial()), nullptr);
}

}  // namespace
}  // namespace varnok
