#include "tools/varnok-sim/SerialCodec.h"

#include <algorithm>

namespace varnok::sim {

std::vector<std::uint8_t> BuildSerialFrame(std::uint8_t address, std::uint8_t code,
                                           std::span<const std::uint8_t> data) {
  const std::size_t n = std::min<std::size_t>(data.size(), 255);
  std::vector<std::uint8_t> f;
  f.reserve(n + 4);
  f.push_back(static_cast<std::uint8_t>((address << 3) | (n < 7 ? n : 7)));
  f.push_back(code);
  if (n >= 7) f.push_back(static_cast<std::uint8_t>(n));
  f.insert(f.end(), data.begin(), data.begin() + n);
  std::uint8_t check = 0;
  for (auto b : f) check ^= b;
  f.push_back(check);
  return f;
}

void SerialInput::Feed(std::span<const std::uint8_t> bytes, std::vector<SerialMessage>& out,
                       std::vector<std::uint8_t>* between) {
  for (auto b : bytes) FeedByte(b, out, between);
}

void SerialInput::DropPartial() {
  pending_.clear();
  inFrame_ = false;
  frameSize_ = 0;
}

void SerialInput::FeedByte(std::uint8_t b, std::vector<SerialMessage>& out,
                           std::vector<std::uint8_t>* between) {
  if (inFrame_) {
    pending_.push_back(b);
    if (frameSize_ == 0 && pending_.size() == 3) {
      const std::size_t len = pending_[0] & 7;
      frameSize_ = len < 7 ? len + 3 : static_cast<std::size_t>(pending_[2]) + 4;
    }
    if (frameSize_ != 0 && pending_.size() == frameSize_) {
      SerialMessage m;
      m.kind = SerialMessage::Kind::kFrame;
      m.raw = std::move(pending_);
      std::uint8_t x = 0;
      for (auto c : m.raw) x ^= c;
      m.checkOk = x == 0;
      m.code = m.raw[1];
      const std::size_t dataStart = (m.raw[0] & 7) < 7 ? 2 : 3;
      m.data.assign(m.raw.begin() + dataStart, m.raw.end() - 1);
      out.push_back(std::move(m));
      DropPartial();
    }
    return;
  }
  if (pending_.empty()) {
    if ((b >> 3) == kInstrumentAddress) {
      inFrame_ = true;
      pending_.push_back(b);
      return;
    }
    if (b < 0x20) {  // ACK, NAK and the like between messages
      if (between) between->push_back(b);
      return;
    }
  }
  if (b == '\r') {
    SerialMessage m;
    m.kind = SerialMessage::Kind::kLine;
    m.text.assign(pending_.begin(), pending_.end());
    m.raw = std::move(pending_);
    m.raw.push_back('\r');
    out.push_back(std::move(m));
    DropPartial();
    return;
  }
  if (b < 0x20 && b != '\t') return;
  if (pending_.size() < kMaxLine) pending_.push_back(b);
}

}  // namespace varnok::sim
