#include "link/TunnelTransaction.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <functional>
#include <thread>
#include <vector>

#include "tests/link/LinkFakes.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::BytesOf;
using test::FakeTcpChannel;
using test::TunnelResponse;

struct Exchange {
  std::shared_ptr<FakeTcpChannel::Shared> peer = std::make_shared<FakeTcpChannel::Shared>();
  FakeTcpChannel channel{peer};
  TransactionCounter counter;
  std::array<std::uint8_t, 1040> reply{};

  Exchange() { reply.fill(0xAA); }
  int Run(const Bytes& request = BytesOf("status")) {
    return TunnelTransaction(&channel, counter, 0, 128, request, reply.data(), 50ms);
  }
  bool ReplyUntouched() const {
    return std::all_of(reply.begin(), reply.end(), [](std::uint8_t b) { return b == 0xAA; });
  }
};

// Each fault of the peer and the failure value it must give; the caller's buffer stays untouched.
TEST(TunnelTransaction, FailureValues) {
  struct Case {
    const char* name;
    std::function<void(FakeTcpChannel::Shared&)> arrange;
    int expected;
  };
  auto reply = [](std::function<Bytes(std::uint16_t)> make) {
    return [make](FakeTcpChannel::Shared& s) {
      s.responder = [make](FakeTcpChannel::Shared& p, const Bytes& req) {
        p.incoming.push_back(make(test::RequestId(req)));
      };
    };
  };
  const Case cases[] = {
      {"not writable", [](auto& s) { s.writable = false; }, kTunnelNotWritable},
      {"request not accepted whole", [](auto& s) { s.acceptLimit = 10; }, kTunnelNotSent},
      {"no response", [](auto&) {}, kTunnelNoResponse},
      {"five bytes", reply([](std::uint16_t id) {
         auto r = TunnelResponse(id, {});
         r.resize(5);
         return r;
       }),
       kTunnelShortResponse},
      {"nine bytes", reply([](std::uint16_t id) {
         auto r = TunnelResponse(id, {});
         r.resize(9);
         return r;
       }),
       kTunnelShortResponse},
      {"ten bytes", reply([](std::uint16_t id) {
         auto r = TunnelResponse(id, {});
         r.resize(10);
         return r;
       }),
       kTunnelShortResponse},
      {"length promises more than arrives", reply([](std::uint16_t id) {
         auto r = TunnelResponse(id, Bytes(20, 1));
         r.resize(25);
         return r;
       }),
       kTunnelShortResponse},
      {"exception to an earlier request", reply([](std::uint16_t id) {
         auto r = TunnelResponse(id - 1, {}, 0x97);
         r.resize(9);
         return r;
       }),
       kTunnelException},
      {"connection closed", reply([](std::uint16_t) { return Bytes{}; }), kTunnelClosed},
      {"receive fails", [](auto& s) { s.receiveFails = true; }, kTunnelClosed},
      {"four late responses", reply([](std::uint16_t id) {
         Bytes all;
         for (int k = 4; k >= 1; --k) {
           auto r = TunnelResponse(static_cast<std::uint16_t>(id - k), BytesOf("old"));
           all.insert(all.end(), r.begin(), r.end());
         }
         auto right = TunnelResponse(id, BytesOf("new"));
         all.insert(all.end(), right.begin(), right.end());
         return all;
       }),
       kTunnelClosed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Exchange x;
    c.arrange(*x.peer);
    EXPECT_EQ(x.Run(), c.expected);
    EXPECT_TRUE(x.ReplyUntouched());
  }
}

TEST(TunnelTransaction, WritabilityFailureSendsNothingAndKeepsTheIdentifier) {
  Exchange x;
  x.peer->writable = false;
  x.Run();
  EXPECT_TRUE(x.peer->sent.empty());
  EXPECT_EQ(x.counter.Current(), 0);
}

TEST(TunnelTransaction, DeliversReplyAndZeroByte) {
  Exchange x;
  x.peer->responder = [](auto& p, const Bytes& req) {
    p.incoming.push_back(TunnelResponse(test::RequestId(req), BytesOf("QX-7100A\r\nOK\r\n")));
  };
  ASSERT_EQ(x.Run({}), 14);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(x.reply.data())), "QX-7100A\r\nOK\r\n");
  ASSERT_EQ(x.peer->sent.size(), 1u);
  EXPECT_EQ(x.peer->sent[0].size(), 19u);
  EXPECT_EQ(test::RequestId(x.peer->sent[0]), 1);
}

TEST(TunnelTransaction, ElevenByteResponseIsAnEmptyReply) {
  Exchange x;
  x.peer->responder = [](auto& p, const Bytes& req) {
    p.incoming.push_back(TunnelResponse(test::RequestId(req), {}));
  };
  EXPECT_EQ(x.Run(), 0);
  EXPECT_EQ(x.reply[0], 0);
  EXPECT_EQ(x.reply[1], 0xAA);
}

TEST(TunnelTransaction, LongResponsesTakeTheirLengthFromTheirSize) {
  for (std::size_t data : {255u, 256u, 1026u}) {
    Exchange x;
    Bytes payload(data);
    for (std::size_t i = 0; i < data; ++i) payload[i] = static_cast<std::uint8_t>(i);
    x.peer->responder = [payload](auto& p, const Bytes& req) {
      p.incoming.push_back(TunnelResponse(test::RequestId(req), payload));
    };
    ASSERT_EQ(x.Run(), static_cast<int>(data));
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), x.reply.begin()));
    EXPECT_EQ(x.reply[data], 0);
  }
}

TEST(TunnelTransaction, LateResponseToAnEarlierRequestIsSkipped) {
  // Separately and in one piece with the right one.
  for (bool together : {false, true}) {
    Exchange x;
    x.peer->responder = [together](auto& p, const Bytes& req) {
      const auto id = test::RequestId(req);
      auto late = TunnelResponse(static_cast<std::uint16_t>(id - 1), BytesOf("stale reply"));
      auto right = TunnelResponse(id, BytesOf("fresh"));
      if (together) {
        late.insert(late.end(), right.begin(), right.end());
        p.incoming.push_back(late);
      } else {
        p.incoming.push_back(late);
        p.incoming.push_back(right);
      }
    };
    ASSERT_EQ(x.Run(), 5) << together;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(x.reply.data())), "fresh");
  }
}

TEST(TunnelTransaction, LateResponsesAndTheRightOneInOneLongReceiveGiveTheRightOne) {
  const struct {
    std::vector<std::size_t> lateLengths;  // reply lengths of the late responses ahead of the right one
    std::size_t rightLength;
  } cases[] = {{{250}, 30}, {{200, 200}, 100}, {{254}, 254}, {{10, 240, 30}, 5}};
  for (const auto& c : cases) {
    Exchange x;
    x.peer->responder = [&c](auto& p, const Bytes& req) {
      const auto id = test::RequestId(req);
      Bytes all;
      for (std::size_t k = 0; k < c.lateLengths.size(); ++k) {
        const auto late =
            TunnelResponse(static_cast<std::uint16_t>(id - 1 - k), Bytes(c.lateLengths[k], 'x'));
        all.insert(all.end(), late.begin(), late.end());
      }
      const auto right = TunnelResponse(id, Bytes(c.rightLength, 'r'));
      all.insert(all.end(), right.begin(), right.end());
      ASSERT_GT(all.size(), 266u);
      p.incoming.push_back(all);
    };
    ASSERT_EQ(x.Run(), static_cast<int>(c.rightLength)) << c.lateLengths.size() << " late";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(x.reply.data())), std::string(c.rightLength, 'r'));
  }
}

// A channel whose pieces become readable at given times after the request was sent.
class TimedChannel : public TcpChannel {
 public:
  using Clock = std::chrono::steady_clock;
  struct Piece {
    std::chrono::milliseconds after;
    Bytes bytes;
  };
  std::function<std::vector<Piece>(const Bytes&)> responder;

  bool WaitWritable(std::chrono::milliseconds) override { return true; }
  bool WaitReadable(std::chrono::milliseconds limit) override {
    if (pieces_.empty()) {
      std::this_thread::sleep_for(limit);
      return false;
    }
    const auto ready = sent_ + pieces_.front().after;
    if (ready > Clock::now() + limit) {
      std::this_thread::sleep_for(limit);
      return false;
    }
    std::this_thread::sleep_until(ready);
    return true;
  }
  int Send(const std::uint8_t* bytes, std::size_t count) override {
    sent_ = Clock::now();
    const auto list = responder(Bytes(bytes, bytes + count));
    pieces_.assign(list.begin(), list.end());
    return static_cast<int>(count);
  }
  int Receive(std::uint8_t* buffer, std::size_t room) override {
    if (pieces_.empty()) return -1;
    Bytes& front = pieces_.front().bytes;
    const std::size_t n = std::min(room, front.size());
    std::copy_n(front.begin(), n, buffer);
    front.erase(front.begin(), front.begin() + static_cast<long>(n));
    if (front.empty()) pieces_.pop_front();
    return static_cast<int>(n);
  }
  void DiscardInput() override {}
  void Close() override {}

 private:
  Clock::time_point sent_;
  std::deque<Piece> pieces_;
};

// After the first piece of a response, the rest is waited for only kTunnelRestWait, not the whole
// four seconds; a rest inside that bound is still gathered.
TEST(TunnelTransaction, TheRestOfASplitResponseIsWaitedForOnlyBriefly) {
  const struct {
    std::size_t cut;
    std::chrono::milliseconds firstAfter;
    std::chrono::milliseconds restAfter;  // 0: the rest never comes
    int expected;
  } cases[] = {
      {5, 0ms, 0ms, kTunnelShortResponse},  // a header cut short, the peer stops
      {9, 0ms, 0ms, kTunnelShortResponse},
      {12, 0ms, 0ms, kTunnelShortResponse},
      {5, 100ms, 300ms, 16},                  // the rest within the bound is gathered
      {5, 0ms, 900ms, kTunnelShortResponse},  // the rest beyond it is not waited for
  };
  for (const auto& c : cases) {
    TimedChannel channel;
    channel.responder = [&c](const Bytes& req) {
      const auto whole = TunnelResponse(test::RequestId(req), BytesOf("split reply text"));
      std::vector<TimedChannel::Piece> pieces{
          {c.firstAfter, Bytes(whole.begin(), whole.begin() + static_cast<long>(c.cut))}};
      if (c.restAfter.count() > 0)
        pieces.push_back({c.restAfter, Bytes(whole.begin() + static_cast<long>(c.cut), whole.end())});
      return pieces;
    };
    TransactionCounter counter;
    std::array<std::uint8_t, 1040> reply{};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(TunnelTransaction(&channel, counter, 0, 128, BytesOf("status"), reply.data(), 4000ms),
              c.expected)
        << c.cut << " bytes first";
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, c.firstAfter + kTunnelRestWait + 400ms) << c.cut << " bytes first";
  }
}

TEST(TunnelTransaction, LongResponseSplitAcrossReceivesIsGathered) {
  for (std::size_t cut : {100u, 266u, 267u, 700u}) {
    Exchange x;
    Bytes payload(1026);
    for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 7);
    x.peer->responder = [cut, payload](auto& p, const Bytes& req) {
      auto whole = TunnelResponse(test::RequestId(req), payload);
      whole[10] = 255;
      p.incoming.push_back(Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)));
      p.incoming.push_back(Bytes(whole.begin() + static_cast<long>(cut), whole.end()));
    };
    ASSERT_EQ(x.Run(), 1026) << cut;
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), x.reply.begin()));
  }
}

TEST(TunnelTransaction, ResponseSplitAcrossReceivesIsGathered) {
  for (std::size_t cut : {1u, 8u, 10u, 11u, 20u}) {
    Exchange x;
    x.peer->responder = [cut](auto& p, const Bytes& req) {
      const auto whole = TunnelResponse(test::RequestId(req), BytesOf("split reply text"));
      p.incoming.push_back(Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)));
      p.incoming.push_back(Bytes(whole.begin() + static_cast<long>(cut), whole.end()));
    };
    ASSERT_EQ(x.Run(), 16) << cut;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(x.reply.data())), "split reply text");
  }
}

TEST(TunnelTransaction, FailureDoesNotAlterTheRequest) {
  Exchange x;
  x.peer->responder = [](auto& p, const Bytes&) { p.incoming.push_back(Bytes{}); };
  std::array<std::uint8_t, 1040> buffer{};
  const Bytes request = BytesOf("status");
  std::copy(request.begin(), request.end(), buffer.begin());
  EXPECT_EQ(
      TunnelTransaction(&x.channel, x.counter, 0, 128, std::span(buffer.data(), 6), buffer.data(), 50ms),
      kTunnelClosed);
  EXPECT_TRUE(std::equal(request.begin(), request.end(), buffer.begin()));
}

TEST(TunnelTransaction, BytesLeftFromAnEarlierExchangeAreDroppedBeforeSending) {
  Exchange x;
  auto cut = TunnelResponse(1, BytesOf("cut short"));
  cut.resize(5);
  x.peer->incoming.push_back(cut);
  x.peer->responder = [](auto& p, const Bytes& req) {
    p.incoming.push_back(TunnelResponse(test::RequestId(req), BytesOf("fresh")));
  };
  ASSERT_EQ(x.Run(), 5);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(x.reply.data())), "fresh");
  EXPECT_EQ(x.peer->discards, 1);
}

TEST(TunnelTransaction, NoLinkIsNotWritable) {
  TransactionCounter counter;
  std::array<std::uint8_t, 1040> buffer{};
  EXPECT_EQ(TunnelTransaction(nullptr, counter, 0, 141, {}, buffer.data(), 50ms), kTunnelNotWritable);
}

}  // namespace
}  // namespace varnok
