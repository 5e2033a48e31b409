#pragma once
// Small blocking clients with bounded waits, for talking to the simulator over a real
// loopback socket or a real pseudo-terminal.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace varnok::sim::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }
inline std::string ToText(const Bytes& b) { return std::string(b.begin(), b.end()); }

// A function-23 request exactly as the console builds it.
inline Bytes TunnelRequestBytes(std::uint16_t id, std::uint8_t unit, std::uint8_t code, const Bytes& data) {
  const std::size_t n = data.size();
  Bytes f = {static_cast<std::uint8_t>(id >> 8),
             static_cast<std::uint8_t>(id),
             0,
             0,
             static_cast<std::uint8_t>((n + 13) >> 8),
             static_cast<std::uint8_t>(n + 13),
             unit,
             0x17,
             0xFF,
             0xFF,
             0,
             0,
             0xFF,
             0xFF,
             0,
             static_cast<std::uint8_t>((n + 3) / 2),
             static_cast<std::uint8_t>(n),
             code,
             static_cast<std::uint8_t>(n)};
  f.insert(f.end(), data.begin(), data.end());
  return f;
}

// A serial frame to the instrument (device address 1).
inline Bytes FrameBytes(std::uint8_t code, const Bytes& data) {
  Bytes f;
  const std::size_t n = data.size();
  f.push_back(static_cast<std::uint8_t>(0x08 | (n < 7 ? n : 7)));
  f.push_back(code);
  if (n >= 7) f.push_back(static_cast<std::uint8_t>(n));
  f.insert(f.end(), data.begin(), data.end());
  std::uint8_t x = 0;
  for (auto b : f) x ^= b;
  f.push_back(x);
  return f;
}

// Reads from `fd` until `want` bytes arrived or `quiet` passed without a byte (or `total`
// passed in all). Each read is one "chunk", so tests can see how a reply was sent.
struct ReadResult {
  Bytes bytes;
  std::vector<std::size_t> chunks;
  bool closed = false;
};

inline ReadResult ReadFd(int fd, std::size_t want, std::chrono::milliseconds quiet,
                         std::chrono::milliseconds total = std::chrono::milliseconds(5000)) {
  ReadResult r;
  const auto deadline = std::chrono::steady_clock::now() + total;
  while (r.bytes.size() < want) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    const int wait = static_cast<int>(std::min(left, quiet).count());
    if (::poll(&p, 1, wait) <= 0) break;
    std::uint8_t buf[4096];
    const ssize_t n = ::read(fd, buf, std::min(sizeof buf, want - r.bytes.size()));
    if (n <= 0) {
      r.closed = true;
      break;
    }
    r.bytes.insert(r.bytes.end(), buf, buf + n);
    r.chunks.push_back(static_cast<std::size_t>(n));
  }
  return r;
}

class TcpClient {
 public:
  explicit TcpClient(int port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd_ < 0 || ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
      throw std::runtime_error("cannot connect to the simulator");
    }
    int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  }
  ~TcpClient() {
    if (fd_ >= 0) ::close(fd_);
  }
  TcpClient(const TcpClient&) = delete;
  TcpClient& operator=(const TcpClient&) = delete;

  void Send(const Bytes& b) {
    if (::send(fd_, b.data(), b.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(b.size())) {
      throw std::runtime_error("send failed");
    }
  }
  // Up to `want` bytes, until 300 ms pass without a byte.
  ReadResult Receive(std::size_t want, std::chrono::milliseconds quiet = std::chrono::milliseconds(300)) {
    return ReadFd(fd_, want, quiet);
  }
  // One whole response: header first, then what its length field announces.
  Bytes Exchange(std::uint16_t id, std::uint8_t code, const Bytes& data, std::uint8_t unit = 0) {
    Send(TunnelRequestBytes(id, unit, code, data));
    auto head = Receive(6, std::chrono::milliseconds(2000)).bytes;
    if (head.size() < 6) return head;
    const std::size_t rest = (head[4] << 8) | head[5];
    auto tail = Receive(rest, std::chrono::milliseconds(2000)).bytes;
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  }

 private:
  int fd_ = -1;
};

class PtyClient {
 public:
  explicit PtyClient(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd_ < 0) throw std::runtime_error("cannot open " + path);
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd_, TCSANOW, &t);
  }
  ~PtyClient() {
    if (fd_ >= 0) ::close(fd_);
  }
  PtyClient(const PtyClient&) = delete;
  PtyClient& operator=(const PtyClient&) = delete;

  void Send(const Bytes& b) {
    if (::write(fd_, b.data(), b.size()) != static_cast<ssize_t>(b.size())) {
      throw std::runtime_error("write failed");
    }
  }
  ReadResult Receive(std::size_t want, std::chrono::milliseconds quiet = std::chrono::milliseconds(300)) {
    return ReadFd(fd_, want, quiet);
  }

 private:
  int fd_ = -1;
};

}  // namespace varnok::sim::testing
