// varnok-cmd backup and restore run as programs against the in-process simulator: the instrument's
// settings and calibration table go into a file and come back byte for byte; a file the console
// would refuse is refused with nothing sent.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "tools/varnok-sim/InstrumentState.h"
#include "tools/varnok-sim/SimServer.h"

namespace varnok {
namespace {

struct ProgramRun {
  int exitCode = -1;
  std::string out, err;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Temp(const std::string& name) {
  return ::testing::TempDir() + std::to_string(::getpid()) + "-" + name;
}

ProgramRun RunCmd(const std::string& arguments) {
  const std::string base = Temp("varnok-cmd");
  const std::string line = std::string("timeout 60 ") + VARNOK_CMD_PATH + " " + arguments + " >" + base +
                           ".out 2>" + base + ".err";
  ProgramRun run;
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
          return o;
        }()) {
    sim.Start();
  }
  std::string Address() const { return "127.0.0.1:" + std::to_string(sim.TcpPort()); }
  sim::InstrumentState State() {
    sim::InstrumentState copy;
    sim.WithState([&](sim::InstrumentState& s) { copy = s; });
    return copy;
  }
  sim::SimServer sim;
};

void PutFloat64(std::uint8_t* bytes, double value) { std::memcpy(bytes, &value, 8); }

// Settings no factory would ship: numbers with every digit of single and double precision, a
// subnormal, negative zero, 16-character dates and seven elevation angles.
void SetUnusualState(sim::InstrumentState& s) {
  s.tipConfig.assign(18 + 4 * 7, 0);
  s.tipConfig[0] = 7;
  sim::PutFloat32(s.tipConfig, 2, 0.123456791f);
  sim::PutFloat32(s.tipConfig, 6, -179.999985f);
  sim::PutFloat32(s.tipConfig, 10, 1.0f);
  sim::PutFloat32(s.tipConfig, 14, 1.17549435e-38f);
  for (int k = 0; k < 7; ++k) sim::PutFloat32(s.tipConfig, 18 + 4 * k, 5.0f + 25.0f * k);
  const float corrections[] = {-0.0f, 3.4028235e38f, 0.333333343f, -1.5e-45f};
  for (int i = 0; i < 4; ++i) sim::PutFloat32(s.userCorrections, 4 * i, corrections[i]);
  const float blower[] = {0.7f, 99.9000015f, 1234567.0f};
  for (int i = 0; i < 3; ++i) sim::PutFloat32(s.blower, 4 * i, blower[i]);
  std::memcpy(s.calConstants.data(), "2026/12/10 09:41", 16);
  std::memcpy(s.calConstants.data() + 16, "2026/11/30 23:59", 16);
  for (int i = 0; i < 20; ++i)
    sim::PutFloat32(s.calConstants, 32 + 4 * i, 0.1f * static_cast<float>(i * i) - 7.3f);
  for (int r = 0; r < sim::kCalibrationRows; ++r) {
    auto& row = s.calibrationRows[static_cast<std::size_t>(r)];
    for (int c = 0; c < 6; ++c) {
      const float v = 51.248f + 0.017f * static_cast<float>(r * 13 + c);
      std::memcpy(row.data() + 4 * c, &v, 4);
    }
    for (int c = 0; c < 6; ++c)
      PutFloat64(row.data() + 24 + 8 * c, (r + 1) * -0.32971159e+06 / (c + 7.0) + 1e-17);
    const float tnd = 245.64f - static_cast<float>(r);
    std::memcpy(row.data() + 72, &tnd, 4);
  }
}

void ExpectSameSettings(const sim::InstrumentState& a, const sim::InstrumentState& b) {
  EXPECT_EQ(a.tipConfig, b.tipConfig);
  EXPECT_EQ(a.userCorrections, b.userCorrections);
  EXPECT_EQ(a.blower, b.blower);
  EXPECT_EQ(a.calConstants, b.calConstants);
  for (int r = 0; r < sim::kCalibrationRows; ++r) {
    EXPECT_EQ(a.calibrationRows[static_cast<std::size_t>(r)], b.calibrationRows[static_cast<std::size_t>(r)])
        << "row " << r + 1;
  }
}

TEST(CmdBackupRestore, RoundTripGivesTheInstrumentBackItsBytes) {
  Simulator s;
  s.sim.WithState(SetUnusualState);
  const sim::InstrumentState before = s.State();
  const std::string file = Temp("backup.CFG");

  const ProgramRun backup = RunCmd(s.Address() + " backup " + file);
  ASSERT_EQ(backup.exitCode, 0) << backup.out << backup.err;
  EXPECT_NE(backup.out.find("read calibration row 35 (code 167): OK\n"), std::string::npos) << backup.out;
  const std::string text = ReadAll(file);
  EXPECT_NE(text.find("\r\nCHANNEL CALIBRATION BLOCK:\r\n2026/12/10 09:41    :Date of last factory"),
            std::string::npos)
      << text;

  // Another instrument's settings in between, so that only the restore can bring these back.
  s.sim.WithState([](sim::InstrumentState& st) { st = sim::MakeInitialState(st.model); });
  const ProgramRun restore = RunCmd(s.Address() + " restore " + file + " --flash");
  ASSERT_EQ(restore.exitCode, 0) << restore.out << restore.err;
  EXPECT_NE(restore.out.find("write calibration row 35 (code 7): OK\n"), std::string::npos) << restore.out;
  EXPECT_NE(restore.out.find("save to flash (code 200): Number of writes = 18\n"), std::string::npos)
      << restore.out;

  const sim::InstrumentState after = s.State();
  ExpectSameSettings(after, before);
  EXPECT_EQ(after.flashWriteCount, before.flashWriteCount + 1);
  std::remove(file.c_str());
}

TEST(CmdBackupRestore, RefusedFileSendsNothing) {
  Simulator s;
  const std::string good = Temp("good.CFG");
  ASSERT_EQ(RunCmd(s.Address() + " backup " + good).exitCode, 0);
  const std::string text = ReadAll(good);
  struct Case {
    const char* what;
    std::string from, to;
    std::string message;
  };
  const Case cases[] = {
      {"a blower value that is not a number", "\r\n70              :RH", "\r\nseventy         :RH",
       "'seventy' is not a valid floating point value"},
      // The parser puts one blank into an empty item's cell, and the console's message shows it.
      {"an empty calibration cell", "\r\n22,0,275,", "\r\n,0,275,",
       "' ' is not a valid floating point value"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    std::string bad = text;
    const auto at = bad.find(k.from);
    ASSERT_NE(at, std::string::npos);
    bad.replace(at, k.from.size(), k.to);
    const std::string file = Temp("bad.CFG");
    std::ofstream(file, std::ios::binary) << bad;
    const std::size_t requestsBefore = s.sim.ReceivedRequests().size();
    const ProgramRun run = RunCmd(s.Address() + " restore " + file + " --flash");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("refused, nothing was sent: " + k.message), std::string::npos) << run.err;
    EXPECT_EQ(s.sim.ReceivedRequests().size(), requestsBefore) << "not even the model query";
    std::remove(file.c_str());
  }
  const ProgramRun missing = RunCmd(s.Address() + " restore " + Temp("no-such.CFG"));
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("Cannot open file "), std::string::npos) << missing.err;
  std::remove(good.c_str());
}

TEST(CmdBackupRestore, BackupStopsAtTheFirstFailureAndWritesNoFile) {
  Simulator s;
  s.sim.WithState([](sim::InstrumentState& st) { st.blower.resize(40); });  // shorter than a blower record
  const std::string file = Temp("short.CFG");
  const ProgramRun run = RunCmd(s.Address() + " backup " + file);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("read blower settings (code 170): reply of 40 bytes, 80 needed\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("code 171"), std::string::npos) << "nothing is read after the failure";
  EXPECT_FALSE(std::ifstream(file).good());
  EXPECT_FALSE(std::ifstream(file + ".part").good());
}

}  // namespace
}  // namespace varnok
