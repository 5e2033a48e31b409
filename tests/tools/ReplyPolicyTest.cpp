// The simulator's fault-to-reply policy, without sockets: for one request and its faults, which bytes
// go back, in how many pieces, after which pauses, and what happens to the line.
#include <gtest/gtest.h>

#include <string>

#include "tools/varnok-sim/ReplyPolicy.h"

namespace varnok::sim {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

std::vector<Fault> Faults(std::initializer_list<const char*> forms) {
  std::vector<Fault> out;
  for (const char* f : forms) out.push_back(*ParseFault(f));
  return out;
}

std::uint16_t IdOf(const Bytes& response) {
  return static_cast<std::uint16_t>((response[0] << 8) | response[1]);
}

Bytes Joined(const Plan& plan) {
  Bytes all;
  for (const Step& s : plan) all.insert(all.end(), s.bytes.begin(), s.bytes.end());
  return all;
}

struct Piece {
  std::size_t size;
  std::chrono::milliseconds delay;
};

constexpr std::uint32_t kRest = 0x10000;

// A coded request with identifier 7 whose instrument reply is `replySize` bytes 0, 1, 2, ...
struct TunnelCase {
  std::initializer_list<const char*> faults;
  std::size_t replySize;
  std::vector<Piece> pieces;       // the writes, in order
  std::vector<std::uint32_t> ids;  // the identifier each write starts with; kRest: the rest of one
  Step::Action action = Step::Action::kWrite;  // a last step that is not a write
  bool answered = true;                        // whether the instrument carried the request out
};

TEST(ReplyPolicyTunnel, EachFaultGivesItsPiecesPausesAndIdentifiers) {
  using A = Step::Action;
  const TunnelCase cases[] = {
      {{}, 4, {{15, 0ms}}, {7}},
      {{"noreply"}, 4, {}, {}, A::kWrite, false},
      {{"close"}, 4, {}, {}, A::kClose, false},
      {{"reset"}, 4, {}, {}, A::kReset, false},
      {{"stopread"}, 4, {}, {}, A::kStopReading, false},
      {{"exception"}, 4, {{9, 0ms}}, {7}, A::kWrite, false},
      {{"late-id"}, 4, {{15, 0ms}, {15, kLatePause}}, {6, 7}},
      {{"stale:4"},
       4,
       {{15, 0ms}, {15, kLatePause}, {15, kLatePause}, {15, kLatePause}, {15, kLatePause}},
       {3, 4, 5, 6, 7}},
      {{"stale-exception"}, 4, {{9, 0ms}, {15, kLatePause}}, {6, 7}},
      {{"short:9"}, 4, {{9, 0ms}}, {7}},
      {{"short:10"}, 4, {{10, 0ms}}, {7}},
      {{"split"}, 4, {{13, 0ms}, {2, kSplitPause}}, {7, kRest}},
      {{"split:5:3900"}, 4, {{5, 0ms}, {10, 3900ms}}, {7, kRest}},  // inside the header, a pause near 4 s
      {{"split:500:10"}, 4, {{15, 0ms}}, {7}},                      // a cut beyond the end sends it whole
      {{"delay:4500"}, 4, {{15, 4500ms}}, {7}},
      {{"delay:100", "split:5:50"}, 4, {{5, 100ms}, {10, 50ms}}, {7, kRest}},
      {{"stale:2", "split:5:50"},
       4,
       {{15, 0ms}, {15, kLatePause}, {5, kLatePause}, {10, 50ms}},
       {5, 6, 7, kRest}},
      {{"lenbyte:16"}, 300, {{311, 0ms}}, {7}},
  };
  for (const auto& c : cases) {
    std::string name;
    for (const char* f : c.faults) name += std::string(f) + " ";
    SCOPED_TRACE(name);
    TunnelRequest request{7, 0, 132, {0, 0, 60, 0}};
    bool answered = false;
    const Plan plan = PlanTunnelReply(
        request, Faults(c.faults),
        [&] {
          answered = true;
          Bytes reply(c.replySize);
          for (std::size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<std::uint8_t>(i);
          return reply;
        },
        "");
    EXPECT_EQ(answered, c.answered);
    const std::size_t writes = c.action == A::kWrite ? plan.size() : plan.size() - 1;
    if (c.action != A::kWrite) {
      ASSERT_FALSE(plan.empty());
      EXPECT_EQ(plan.back().action, c.action);
    }
    ASSERT_EQ(writes, c.pieces.size());
    ASSERT_EQ(c.ids.size(), writes);
    for (std::size_t i = 0; i < writes; ++i) {
      EXPECT_EQ(plan[i].action, A::kWrite);
      EXPECT_EQ(plan[i].bytes.size(), c.pieces[i].size) << "piece " << i;
      EXPECT_EQ(plan[i].delay, c.pieces[i].delay) << "piece " << i;
      if (c.ids[i] != kRest) EXPECT_EQ(IdOf(plan[i].bytes), c.ids[i]) << "piece " << i;
    }
  }
}

TEST(ReplyPolicyTunnel, ReplyBytesOfTheFaultsThatChangeThem) {
  TunnelRequest request{7, 3, 132, {0, 0, 60, 0}};
  auto answer = [] { return Bytes(300, 0x41); };
  // A long reply whose length byte says 16: the size alone tells its length.
  Plan plan = PlanTunnelReply(request, Faults({"lenbyte:16"}), answer, "");
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0].bytes[10], 16);
  EXPECT_EQ(plan[0].bytes.size(), 311u);
  plan = PlanTunnelReply(
      request, Faults({"lenbyte:16"}), [] { return Bytes(255, 0x41); }, "");
  EXPECT_EQ(plan[0].bytes[10], 255) << "a response of 266 bytes keeps its length byte";

  // The stale replies carry "late"; the exception ones function 0x97, unit kept.
  plan = PlanTunnelReply(request, Faults({"stale:2", "stale-exception"}), answer, "");
  ASSERT_EQ(plan.size(), 4u);
  EXPECT_EQ(Bytes(plan[0].bytes.begin() + 10, plan[0].bytes.end()), (Bytes{4, 'l', 'a', 't', 'e'}));
  EXPECT_EQ(plan[2].bytes, (Bytes{0, 6, 0, 0, 0, 3, 3, 0x97, 0x04}));

  // Refused: the one-byte refusal code, the instrument never asked.
  bool asked = false;
  plan = PlanTunnelReply(
      request, Faults({"refuse:132:3"}),
      [&] {
        asked = true;
        return Bytes{};
      },
      "");
  EXPECT_FALSE(asked);
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(Bytes(plan[0].bytes.begin() + 10, plan[0].bytes.end()), (Bytes{1, 3}));

  // A split keeps every byte in order.
  const Plan whole = PlanTunnelReply(request, {}, answer, "");
  EXPECT_EQ(Joined(PlanTunnelReply(request, Faults({"split:5:10"}), answer, "")), Joined(whole));

  // The banner line goes before a text reply only.
  TunnelRequest text{8, 0, 128, {'s', 'o', 'f', 't'}};
  plan = PlanTunnelReply(
      text, Faults({"banner"}),
      [] {
        return Bytes{'O', 'K', '\r', '\n'};
      },
      "Torvelmandra X\r\n");
  const std::string body(plan[0].bytes.begin() + 11, plan[0].bytes.end());
  EXPECT_EQ(body, "Torvelmandra X\r\nOK\r\n");
  plan = PlanTunnelReply(
      request, Faults({"banner"}), [] { return Bytes{1}; }, "Torvelmandra X\r\n");
  EXPECT_EQ(plan[0].bytes.size(), 12u);
}

TEST(ReplyPolicySerial, FrameFaultsGiveTheirBytes) {
  SerialMessage frame;
  frame.kind = SerialMessage::Kind::kFrame;
  frame.checkOk = true;
  frame.code = 0x80;
  const Bytes reply = {1, 2, 3};
  const Bytes whole = {kAck, 0x0B, 0x80, 1, 2, 3, 0x0B ^ 0x80 ^ 1 ^ 2 ^ 3};
  const struct {
    std::initializer_list<const char*> faults;
    std::vector<Bytes> pieces;
    std::chrono::milliseconds firstDelay;
    bool hangUp;  // the plan ends with the line going dead
  } cases[] = {
      {{}, {whole}, 0ms, false},
      {{"nak"}, {{kNak}}, 0ms, false},
      {{"ackbyte:63"}, {{0x3F}}, 0ms, false},
      {{"noreply"}, {}, 0ms, false},
      {{"hangup"}, {}, 0ms, true},
      {{"hangup:1"}, {{kAck}}, 0ms, true},
      {{"hangup:99"}, {whole}, 0ms, true},
      {{"badcheck"},
       {{kAck, 0x0B, 0x80, 1, 2, 3, static_cast<std::uint8_t>(whole.back() ^ 0xFF)}},
       0ms,
       false},
      {{"bodycut"}, {{kAck, 0x0B, 0x80, 1, 2}}, 0ms, false},
      {{"short:2"}, {{kAck, 0x0B, 0x80}}, 0ms, false},
      {{"split:1:100"}, {{kAck}, {0x0B, 0x80, 1, 2, 3, whole.back()}}, 0ms, false},
      {{"delay:1500"}, {whole}, 1500ms, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.faults.size() ? *c.faults.begin() : "none");
    const Plan plan = PlanSerialFrameReply(frame, Faults(c.faults), [&] { return reply; });
    ASSERT_EQ(plan.size(), c.pieces.size() + (c.hangUp ? 1 : 0));
    if (plan.empty()) continue;
    EXPECT_EQ(plan.back().action, c.hangUp ? Step::Action::kHangUp : Step::Action::kWrite);
    for (std::size_t i = 0; i < c.pieces.size(); ++i) EXPECT_EQ(plan[i].bytes, c.pieces[i]) << i;
    EXPECT_EQ(plan[0].delay, c.firstDelay);
  }
  // A frame whose check fails is refused before any fault acts.
  frame.checkOk = false;
  const Plan refused =
      PlanSerialFrameReply(frame, Faults({"ackbyte:63", "delay:100"}), [&] { return reply; });
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].bytes, Bytes{kNak});
}

TEST(ReplyPolicySerial, TextFaultsCutTheReply) {
  const std::string reply = "Line: serial\r\nOK\r\n";
  auto answer = [&] { return reply; };
  const struct {
    std::initializer_list<const char*> faults;
    std::vector<std::string> pieces;
  } cases[] = {
      {{}, {reply}},
      {{"noreply"}, {}},
      {{"textcut"}, {"Line: "}},
      {{"banner", "textcut"}, {"Torvelmandra Q\r\nLine: "}},
      {{"short:3"}, {"Lin"}},
      {{"split"}, {reply.substr(0, 9), reply.substr(9)}},
      {{"banner"}, {"Torvelmandra Q\r\n" + reply}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.faults.size() ? *c.faults.begin() : "none");
    const Plan plan = PlanSerialTextReply(Faults(c.faults), answer, "Torvelmandra Q\r\n");
    ASSERT_EQ(plan.size(), c.pieces.size());
    for (std::size_t i = 0; i < plan.size(); ++i) {
      EXPECT_EQ(std::string(plan[i].bytes.begin(), plan[i].bytes.end()), c.pieces[i]);
    }
  }
}

}  // namespace
}  // namespace varnok::sim
