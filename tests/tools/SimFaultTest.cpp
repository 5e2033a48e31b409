#include <gtest/gtest.h>

#include "tools/varnok-sim/SimFault.h"

namespace varnok::sim {
namespace {

TEST(SimFaultForms, ParsesEveryFormAndRejectsOthers) {
  struct Case {
    const char* form;
    FaultKind kind;
  };
  const Case good[] = {
      {"none", FaultKind::kNone},
      {"noreply", FaultKind::kNoReply},
      {"late-id", FaultKind::kLateId},
      {"exception", FaultKind::kException},
      {"split", FaultKind::kSplit},
      {"short:1", FaultKind::kShort},
      {"short:10", FaultKind::kShort},
      {"close", FaultKind::kClose},
      {"refuse:7:2", FaultKind::kRefuse},
      {"nak", FaultKind::kNak},
      {"badcheck", FaultKind::kBadCheck},
      {"bodycut", FaultKind::kBodyCut},
      {"textcut", FaultKind::kTextCut},
      {"banner", FaultKind::kBanner},
      {"stale:4", FaultKind::kStale},
      {"stale-exception", FaultKind::kStaleException},
      {"lenbyte:0", FaultKind::kLengthByte},
      {"delay:4500", FaultKind::kDelay},
      {"stopread", FaultKind::kStopReading},
      {"reset", FaultKind::kReset},
      {"ackbyte:63", FaultKind::kAckByte},
      {"hangup", FaultKind::kHangUp},
      {"split:5:3900", FaultKind::kSplit},
      {"hangup:7", FaultKind::kHangUp},
  };
  for (const auto& c : good) {
    const auto f = ParseFault(c.form);
    ASSERT_TRUE(f) << c.form;
    EXPECT_EQ(f->kind, c.kind) << c.form;
  }
  EXPECT_EQ(ParseFault("short:3")->count, 3);
  EXPECT_EQ(ParseFault("stale:4")->count, 4);
  EXPECT_EQ(ParseFault("lenbyte:16")->value, 16);
  EXPECT_EQ(ParseFault("ackbyte:63")->value, 63);
  EXPECT_EQ(ParseFault("delay:4500")->pauseMs, 4500);
  const auto split = ParseFault("split:5:3900");
  ASSERT_TRUE(split);
  EXPECT_EQ(split->count, 5);
  EXPECT_EQ(split->pauseMs, 3900);
  EXPECT_EQ(ParseFault("split")->count, 0) << "the plain form keeps its own cut";
  const auto refuse = ParseFault("refuse:200:-1");
  ASSERT_TRUE(refuse);
  EXPECT_EQ(refuse->code, 200);
  EXPECT_EQ(refuse->value, 255);
  for (const char* bad : {"",           "short:0",      "short:11",         "short:x",
                          "refuse:7",   "refuse:300:1", "refuse:7:2x",      "NAK",
                          "slow",       "stale:0",      "stale:9",          "lenbyte:256",
                          "ackbyte:-1", "delay:-5",     "delay:60001",      "split:0:50",
                          "split:5",    "split:5:x",    "stale-exceptions", "hangup:-1"}) {
    EXPECT_FALSE(ParseFault(bad)) << bad;
  }
  FaultSet set;
  EXPECT_THROW(set.Arm("slow"), std::invalid_argument);
}

TEST(SimFaultSet, OneShotFaultsWaitForARequestTheyCanActOn) {
  FaultSet set;
  set.Arm("refuse:7:2");
  set.Arm("nak");
  set.Arm("banner");
  const RequestKind tcpClock{Transport::kTcp, false, 141};
  const RequestKind tcpRow{Transport::kTcp, false, 7};
  const RequestKind serialText{Transport::kSerial, true, -1};
  const RequestKind serialRow{Transport::kSerial, false, 7};

  EXPECT_TRUE(set.Take(tcpClock).empty());
  auto taken = set.Take(tcpRow);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].kind, FaultKind::kRefuse);
  EXPECT_TRUE(set.Take(tcpRow).empty());  // used up

  taken = set.Take(serialText);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].kind, FaultKind::kBanner);
  taken = set.Take(serialRow);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].kind, FaultKind::kNak);
  EXPECT_TRUE(set.Take(serialRow).empty());
}

TEST(SimFaultSet, TransportOnlyFaultsWaitForTheirTransport) {
  const struct {
    const char* form;
    bool tcp;          // acts on a coded TCP request
    bool serialFrame;  // acts on a serial frame
    bool serialText;   // acts on a serial text line
  } cases[] = {
      {"stale:2", true, false, false},    {"stale-exception", true, false, false},
      {"lenbyte:16", true, false, false}, {"stopread", true, false, false},
      {"reset", true, false, false},      {"ackbyte:63", false, true, false},
      {"hangup", false, true, false},     {"hangup:3", false, true, false},
      {"delay:100", true, true, true},    {"split:5:50", true, true, true},
      {"short:10", true, true, true},
  };
  const RequestKind tcp{Transport::kTcp, false, 132};
  const RequestKind frame{Transport::kSerial, false, 132};
  const RequestKind line{Transport::kSerial, true, -1};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.form);
    const std::pair<RequestKind, bool> requests[] = {
        {tcp, c.tcp}, {frame, c.serialFrame}, {line, c.serialText}};
    for (const auto& [request, acts] : requests) {
      FaultSet set;
      set.Arm(c.form);
      EXPECT_EQ(set.Take(request).size(), acts ? 1u : 0u);
      EXPECT_EQ(set.Take(request).size(), 0u) << "used up, or still waiting for its own kind of request";
    }
  }
}

TEST(SimFaultSet, PersistentFaultsStayUntilNone) {
  FaultSet set;
  set.Set("noreply");
  const RequestKind any{Transport::kTcp, false, 141};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(set.Take(any).size(), 1u);
  set.Arm("short:2");
  EXPECT_EQ(set.Take(any).size(), 2u);
  EXPECT_EQ(set.Take(any).size(), 1u);
  set.Set("none");
  EXPECT_TRUE(set.Take(any).empty());
}

}  // namespace
}  // namespace varnok::sim
