// varnok-cmd run as a program against the in-process simulator.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/varnok-sim/SimServer.h"

namespace varnok {
namespace {

struct Run {
  int exitCode = -1;
  std::string out, err;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

Run RunCmd(const std::string& arguments) {
  const std::string base = ::testing::TempDir() + "varnok-cmd-" + std::to_string(::getpid());
  const std::string line = std::string("timeout 60 ") + VARNOK_CMD_PATH + " " + arguments + " >" + base +
                           ".out 2>" + base + ".err";
  Run run;
  const int status = std::system(line.c_str());
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadAll(base + ".out");
  run.err = ReadAll(base + ".err");
  std::remove((base + ".out").c_str());
  std::remove((base + ".err").c_str());
  return run;
}

struct Simulator {
  Simulator()
      : sim([] {
          sim::SimOptions o;
          o.tcpPort = 0;
          o.serial = true;
          return o;
        }()) {
    sim.Start();
  }
  std::string Tcp() const { return "127.0.0.1:" + std::to_string(sim.TcpPort()); }
  sim::SimServer sim;
};

TEST(VarnokCmd, TextCommandOverTcp) {
  Simulator s;
  const auto run = RunCmd(s.Tcp() + " text status");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(run.out.starts_with("result: ")) << run.out;
  EXPECT_NE(run.out.find("OK"), std::string::npos) << run.out;
}

TEST(VarnokCmd, ClockOverTcpAndThePseudoTerminal) {
  Simulator s;
  for (const std::string& address : {s.Tcp(), s.sim.SerialPath()}) {
    SCOPED_TRACE(address);
    const auto run = RunCmd("-v " + address + " code 141");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    ASSERT_TRUE(run.out.starts_with("result: ")) << run.out;
    const int result = std::stoi(run.out.substr(8));
    EXPECT_GE(result, 7);
    const auto hex = run.out.substr(run.out.find('\n') + 1);
    EXPECT_EQ(hex.size(), static_cast<std::size_t>(result) * 3)
        << "two digits and a separator per byte: " << hex;
  }
  const auto serial = RunCmd("-v " + s.sim.SerialPath() + " code 141");
  EXPECT_NE(serial.err.find("> 08 80 88"), std::string::npos)
      << "the model query frame is traced: " << serial.err;
  EXPECT_NE(serial.err.find("> 08 8D 85"), std::string::npos) << serial.err;
}

TEST(VarnokCmd, CodedCommandWithDataAndFailures) {
  Simulator s;
  const auto block = RunCmd(s.Tcp() + " code 132 00003C00");
  EXPECT_EQ(block.exitCode, 0) << block.err;
  EXPECT_TRUE(block.out.starts_with("result: 240\n")) << block.out;

  s.sim.ArmFault("textcut");  // the model query is a frame; the text command meets the fault
  const auto cut = RunCmd(s.sim.SerialPath() + " text status");
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_EQ(cut.out, "result: -1\n");

  EXPECT_EQ(RunCmd("127.0.0.1:1 code 141").exitCode, 1) << "nothing listens there";
  EXPECT_EQ(RunCmd(s.Tcp() + " code 300").exitCode, 2);
  EXPECT_EQ(RunCmd(s.Tcp()).exitCode, 2);
}

}  // namespace
}  // namespace varnok
