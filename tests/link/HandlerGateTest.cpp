// The gate that keeps the window's handlers one at a time while their exchanges wait.
#include "link/HandlerGate.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace varnok {
namespace {

// A handler that "waits": while it runs, `during` plays what the window delivers meanwhile.
struct Script {
  HandlerGate gate;
  std::vector<std::string> ran;
  void Handler(const std::string& name, const std::function<void()>& during = {}) {
    gate.Run([this, name, during] {
      ran.push_back(name + " begins");
      if (during) during();
      ran.push_back(name + " ends");
    });
  }
};

TEST(HandlerGate, ClicksDuringAHandlerRunAfterItInTheirOrder) {
  Script s;
  s.Handler("upload", [&] {
    s.Handler("flash");
    s.Handler("read");
    EXPECT_TRUE(s.gate.Busy());
    EXPECT_EQ(s.gate.Waiting(), 2u);
  });
  EXPECT_EQ(s.ran, (std::vector<std::string>{"upload begins", "upload ends", "flash begins", "flash ends",
                                             "read begins", "read ends"}));
  EXPECT_FALSE(s.gate.Busy());
}

TEST(HandlerGate, OneTickOfEachTimerWaitsTheRestAreDropped) {
  Script s;
  int timer1 = 0, chart = 0;
  const int timer1Key = 0, chartKey = 0;
  s.Handler("upload", [&] {
    for (int i = 0; i < 8; ++i) s.gate.Tick(&timer1Key, [&] { ++timer1; });
    s.Handler("click");
    for (int i = 0; i < 3; ++i) s.gate.Tick(&chartKey, [&] { ++chart; });
  });
  EXPECT_EQ(timer1, 1);
  EXPECT_EQ(chart, 1);
  // A tick when nothing runs runs at once, every time.
  s.gate.Tick(&timer1Key, [&] { ++timer1; });
  s.gate.Tick(&timer1Key, [&] { ++timer1; });
  EXPECT_EQ(timer1, 3);
}

TEST(HandlerGate, ATickRunsInItsTurnAmongClicks) {
  Script s;
  const int key = 0;
  s.Handler("upload", [&] {
    s.Handler("first");
    s.gate.Tick(&key, [&] { s.ran.push_back("tick"); });
    s.Handler("second");
  });
  EXPECT_EQ(s.ran, (std::vector<std::string>{"upload begins", "upload ends", "first begins", "first ends",
                                             "tick", "second begins", "second ends"}));
}

TEST(HandlerGate, AFailingHandlerIsReportedAndTheNextOneRuns) {
  Script s;
  std::vector<std::string> reports;
  s.gate.SetFailureReport([&](const std::string& m) { reports.push_back(m); });
  s.gate.Run([&] {
    s.Handler("after");
    throw std::runtime_error("'x' is not a valid floating point value");
  });
  EXPECT_EQ(reports, (std::vector<std::string>{"'x' is not a valid floating point value"}));
  EXPECT_EQ(s.ran, (std::vector<std::string>{"after begins", "after ends"}));
  EXPECT_FALSE(s.gate.Busy());
}

TEST(HandlerGate, WithoutAReportTheFailureLeavesRunAndTheGateStaysUsable) {
  Script s;
  EXPECT_THROW(s.gate.Run([] { throw std::runtime_error("bad"); }), std::runtime_error);
  EXPECT_FALSE(s.gate.Busy());
  s.Handler("next");
  EXPECT_EQ(s.ran, (std::vector<std::string>{"next begins", "next ends"}));
}

}  // namespace
}  // namespace varnok
