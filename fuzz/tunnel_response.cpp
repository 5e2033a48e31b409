// The tunnel response judge over a fake channel: whatever the peer sends, the transaction returns a
// known value, writes nothing on failure, and on success a reply of its stated length and a zero.
#include <algorithm>
#include <array>
#include <deque>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "link/TunnelTransaction.h"

using namespace varnok;

namespace {

// Pieces of the input handed out one per receive: each is as long as the byte before it says, or,
// after a byte 255, as the two bytes after it say (high byte first).
class ScriptedChannel : public TcpChannel {
 public:
  explicit ScriptedChannel(std::string_view input) {
    while (!input.empty()) {
      std::size_t n = static_cast<unsigned char>(input[0]);
      std::size_t skip = 1;
      if (n == 255 && input.size() >= 3) {
        n = (std::size_t{static_cast<unsigned char>(input[1])} << 8) | static_cast<unsigned char>(input[2]);
        skip = 3;
      }
      n = std::min(n, input.size() - skip);
      pieces_.emplace_back(input.begin() + static_cast<long>(skip),
                           input.begin() + static_cast<long>(skip + n));
      input.remove_prefix(skip + n);
    }
  }
  std::uint16_t sentId = 0;
  bool WaitWritable(std::chrono::milliseconds) override { return true; }
  bool WaitReadable(std::chrono::milliseconds) override { return !pieces_.empty(); }
  int Send(const std::uint8_t* bytes, std::size_t count) override {
    sentId = static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
    // The bytes 'I' 'D' 0 0 anywhere stand for a response to this request: they take its identifier.
    for (auto& p : pieces_) {
      for (std::size_t i = 0; i + 4 <= p.size(); ++i) {
        if (p[i] == 'I' && p[i + 1] == 'D' && p[i + 2] == 0 && p[i + 3] == 0) {
          p[i] = static_cast<std::uint8_t>(sentId >> 8);
          p[i + 1] = static_cast<std::uint8_t>(sentId & 0xFF);
        }
      }
    }
    return static_cast<int>(count);
  }
  int Receive(std::uint8_t* buffer, std::size_t room) override {
    if (pieces_.empty()) return -1;
    auto& front = pieces_.front();
    const std::size_t n = std::min(room, front.size());
    std::copy_n(front.begin(), n, buffer);
    front.erase(front.begin(), front.begin() + static_cast<long>(n));
    if (front.empty()) pieces_.pop_front();
    return static_cast<int>(n);
  }
  void DiscardInput() override {}
  void Close() override {}

 private:
  std::deque<std::vector<std::uint8_t>> pieces_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ScriptedChannel channel(AsText(data, size));
  TransactionCounter counter;
  std::array<std::uint8_t, kTunnelResponseRoom + 8> reply;
  reply.fill(0xAA);
  const std::uint8_t request[] = {1, 2, 3};
  const int r =
      TunnelTransaction(&channel, counter, 0, 128, request, reply.data(), std::chrono::milliseconds(1));
  if (r < 0) {
    FUZZ_CHECK(r == kTunnelNoResponse || r == kTunnelShortResponse || r == kTunnelException ||
               r == kTunnelClosed);
    FUZZ_CHECK(std::all_of(reply.begin(), reply.end(), [](std::uint8_t b) { return b == 0xAA; }));
  } else {
    FUZZ_CHECK(static_cast<std::size_t>(r) <= kTunnelMaxReply);
    FUZZ_CHECK(reply[static_cast<std::size_t>(r)] == 0);
    FUZZ_CHECK(std::all_of(reply.begin() + r + 1, reply.end(), [](std::uint8_t b) { return b == 0xAA; }));
  }
  return 0;
}
