// The simulated instrument's behaviour, without any transport.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tools/varnok-sim/Instrument.h"
#include "tools/varnok-sim/SampleCalibration.h"
#include "tests/tools/SimTestClients.h"

namespace varnok::sim {
namespace {

using testing::Bytes;

Bytes Le16(int v) { return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}; }

float FloatAt(const Bytes& b, std::size_t offset) { return GetFloat32(b.data() + offset); }

class SimInstrument : public ::testing::Test {
 protected:
  Bytes Coded(std::uint8_t code, const Bytes& data = {}, std::size_t maxReply = 1026) {
    return instrument.HandleCoded(code, data, maxReply, Transport::kTcp);
  }
  FaultSet faults;
  Instrument instrument{"QX-7100A", faults};
};

TEST_F(SimInstrument, AnswersTheModelQueryWithTheModelAndOk) {
  EXPECT_EQ(testing::ToText(Coded(128)), "QX-7100A\r\nOK\r\n");
}

TEST_F(SimInstrument, StoresACalibrationRowAndReadsItBack) {
  Bytes record(76);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i * 3 + 1);
  Bytes payload = Le16(34);
  payload.insert(payload.end(), record.begin(), record.end());
  EXPECT_EQ(Coded(7, payload), Bytes{0});
  EXPECT_EQ(Coded(167, Le16(34)), record);
  // The neighbour keeps its factory row.
  const auto factory = SampleCalibrationRows();
  EXPECT_EQ(Coded(167, Le16(33)), Bytes(factory[33].begin(), factory[33].end()));
}

TEST_F(SimInstrument, StoresSettingsGroupsAndReturnsThemOnRead) {
  struct Case {
    std::uint8_t write;
    std::size_t size;
  };
  for (const Case c : {Case{8, 18 + 4 * 3}, Case{9, 64}, Case{10, 80}, Case{11, 128}}) {
    Bytes record(c.size);
    for (std::size_t i = 0; i < c.size; ++i) record[i] = static_cast<std::uint8_t>(c.write + i);
    if (c.write == 8) record[0] = 3, record[1] = 0;  // three angles
    EXPECT_EQ(Coded(c.write, record), Bytes{0}) << int(c.write);
    EXPECT_EQ(Coded(c.write + 160), record) << int(c.write);
  }
}

TEST_F(SimInstrument, TakesATipRecordWithMoreAnglesThanItsCount) {
  // The console sends the count from one field and the angles from a list; they may disagree.
  Bytes record(18 + 4 * 5, 0);
  record[0] = 4;
  record[18 + 16] = 0x42;
  EXPECT_EQ(Coded(8, record), Bytes{0});
  EXPECT_EQ(Coded(168), record);
  Bytes tooMany(18 + 4 * 17, 0);
  tooMany[0] = 16;
  EXPECT_EQ(Coded(8, tooMany), Bytes{kBadLength});
  EXPECT_EQ(Coded(168), record);
}

TEST_F(SimInstrument, RefusesMalformedWritesWithAProblemCode) {
  struct Case {
    const char* what;
    std::uint8_t code;
    Bytes data;
    std::uint8_t problem;
  };
  Bytes tip17(18 + 4 * 17, 0);
  tip17[0] = 17;
  Bytes tipShort(18 + 4 * 4, 0);
  tipShort[0] = 5;
  Bytes rowOutside = Le16(35);
  rowOutside.resize(78);
  const Case cases[] = {
      {"tip count above 16", 8, tip17, kBadValue},
      {"tip record shorter than its count", 8, tipShort, kBadLength},
      {"user corrections of 63 bytes", 9, Bytes(63), kBadLength},
      {"blower of 81 bytes", 10, Bytes(81), kBadLength},
      {"constants of 127 bytes", 11, Bytes(127), kBadLength},
      {"calibration row 35", 7, rowOutside, kBadIndex},
      {"calibration row of 77 bytes", 7, Bytes(77), kBadLength},
      {"read row 35", 167, Le16(35), kBadIndex},
      {"fan 4096", 3, Le16(4096), kBadValue},
      {"elevation with a letter", 4, testing::ToBytes("00090x0"), kBadLength},
      {"elevation above a full turn", 4, testing::ToBytes("0036001"), kBadValue},
      {"azimuth of 4 digits", 5, testing::ToBytes("0090"), kBadLength},
      {"drive action 03", 5, testing::ToBytes("03"), kBadValue},
      {"option mask of 2 bytes", 20, Bytes{0x10, 0}, kBadLength},
      {"value block without count", 132, Le16(200), kBadLength},
      {"unknown code", 99, {}, kUnknownCode},
  };
  InstrumentState before;
  instrument.WithState([&](InstrumentState& s) { before = s; });
  for (const auto& c : cases) {
    EXPECT_EQ(Coded(c.code, c.data), Bytes{c.problem}) << c.what;
  }
  instrument.WithState([&](InstrumentState& s) {
    EXPECT_EQ(s.tipConfig, before.tipConfig);
    EXPECT_EQ(s.userCorrections, before.userCorrections);
    EXPECT_EQ(s.calibrationRows, before.calibrationRows);
    EXPECT_EQ(s.fanPosition, before.fanPosition);
    EXPECT_EQ(s.elevationDegrees, before.elevationDegrees);
  });
}

TEST_F(SimInstrument, StartsWithTheSampleConfiguration) {
  const Bytes tip = Coded(168);
  ASSERT_EQ(tip.size(), 38u);
  EXPECT_EQ(tip[0], 5);
  EXPECT_FLOAT_EQ(FloatAt(tip, 2), 0.98f);
  EXPECT_FLOAT_EQ(FloatAt(tip, 14), 0.8f);
  EXPECT_FLOAT_EQ(FloatAt(tip, 18 + 4 * 4), 150.0f);
  const Bytes corrections = Coded(169);
  ASSERT_EQ(corrections.size(), 64u);
  EXPECT_FLOAT_EQ(FloatAt(corrections, 0), -0.37f);
  const Bytes blower = Coded(170);
  ASSERT_EQ(blower.size(), 80u);
  EXPECT_FLOAT_EQ(FloatAt(blower, 4), 70.0f);
  const Bytes constants = Coded(171);
  ASSERT_EQ(constants.size(), 128u);
  EXPECT_EQ(std::string(constants.begin(), constants.begin() + 16), "2012/03/09 18:46");
  EXPECT_FLOAT_EQ(FloatAt(constants, 32), 13.0f);
  EXPECT_FLOAT_EQ(FloatAt(constants, 108), 200.0f);
}

TEST(SimSampleCalibration, FactoryTableFollowsTheSampleFile) {
  const auto rows = SampleCalibrationRows();
  const auto first = DecodeCalibrationRecord(rows[0]);
  EXPECT_FLOAT_EQ(static_cast<float>(first[0]), 22.0f);
  EXPECT_EQ(first[1], 0.0);
  EXPECT_DOUBLE_EQ(first[7], -0.32971159E+06);
  EXPECT_DOUBLE_EQ(first[11], -0.16304988E-05);
  EXPECT_FLOAT_EQ(static_cast<float>(first[12]), 127.31f);
  // 21 rows on receiver 0 up to 30 GHz, then 14 on receiver 1 from 51.248 to 58.8 GHz.
  EXPECT_FLOAT_EQ(static_cast<float>(DecodeCalibrationRecord(rows[20])[0]), 30.0f);
  EXPECT_EQ(DecodeCalibrationRecord(rows[20])[1], 0.0);
  EXPECT_FLOAT_EQ(static_cast<float>(DecodeCalibrationRecord(rows[21])[0]), 51.248f);
  EXPECT_EQ(DecodeCalibrationRecord(rows[21])[1], 1.0);
  const auto last = DecodeCalibrationRecord(rows[34]);
  EXPECT_FLOAT_EQ(static_cast<float>(last[0]), 58.8f);
  EXPECT_FLOAT_EQ(static_cast<float>(last[12]), 245.64f);
  for (int i = 1; i < kCalibrationRows; ++i) {
    EXPECT_GT(DecodeCalibrationRecord(rows[i])[0], DecodeCalibrationRecord(rows[i - 1])[0]) << i;
  }
}

TEST(SimSampleCalibration, FactoryTableIsTheSampleFilesTable) {
  std::ifstream file(VARNOK_SAMPLE_CFG, std::ios::binary);
  if (!file) GTEST_SKIP() << "no sample configuration file in this tree";
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const auto parsed = ParseCalibrationBlock(text);
  ASSERT_EQ(parsed.size(), 35u);
  const auto rows = SampleCalibrationRows();
  for (int i = 0; i < kCalibrationRows; ++i) {
    EXPECT_EQ(rows[i], EncodeCalibrationRecord(parsed[i])) << "row " << i;
  }
}

TEST(SimSampleCalibration, ReadsTheRowsOfACalibrationBlock) {
  const std::string text =
      "# comment\r\n"
      "CHANNEL CALIBRATION BLOCK:\r\n"
      "2012/03/09 18:46:19 :factory\r\n"
      "2012/07/05 16:39:27 :user\r\n"
      "10,10.0,2.5,10,200 :ln2 calibration integration parameters\r\n"
      ".90             :target tolerance for ln2 cal\r\n"
      "2               :number of frequencies\r\n"
      "Frequency,Rcvr,MRT,Window Coef,ND drive,IF Atten,alpha,dtdg,k1,k2,k3,k4,Tnd\r\n"
      " 22.000,0,275.0,.000140, 32860,18.0,0.98392, -0.32971159E+06,  0.44790604E+02, "
      "-0.43239577E+00,  0.14312771E-02, -0.16304988E-05, 127.31\r\n"
      " 23.5,0,275.0,.000140, 32860,18.0,0.5, 1E+06,  2, 3, 4, 5, 130\r\n"
      "\r\n"
      "COEF:           :Coefficients\r\n";
  const auto rows = ParseCalibrationBlock(text);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_DOUBLE_EQ(rows[1][0], 23.5);
  EXPECT_DOUBLE_EQ(rows[1][7], 1e6);
  EXPECT_DOUBLE_EQ(rows[1][12], 130);
  const auto round = DecodeCalibrationRecord(EncodeCalibrationRecord(rows[0]));
  EXPECT_DOUBLE_EQ(round[8], 0.44790604E+02);
  EXPECT_FLOAT_EQ(static_cast<float>(round[3]), 0.000140f);
}

TEST_F(SimInstrument, KeepsOptionBitsFanDrivesAndFlashCount) {
  EXPECT_EQ(Coded(20, {0x10, 0, 0, 0}), Bytes{0});
  EXPECT_EQ(Coded(19, {0x02, 0, 0, 0}), Bytes{0});
  const Bytes options = Coded(199);
  ASSERT_GE(options.size(), 2u);
  EXPECT_EQ(options[0], 0x10);

  EXPECT_EQ(Coded(3, {0xFF, 0x0F}), Bytes{0});
  EXPECT_EQ(Coded(4, testing::ToBytes("0027000")), Bytes{0});
  EXPECT_EQ(Coded(5, testing::ToBytes("00090")), Bytes{0});
  EXPECT_EQ(Coded(5, testing::ToBytes("07")), Bytes{0});
  instrument.WithState([](InstrumentState& s) {
    EXPECT_EQ(s.fanPosition, 4095);
    EXPECT_EQ(s.elevationCommand, "0027000");
    EXPECT_DOUBLE_EQ(s.elevationDegrees, 270.0);
    EXPECT_EQ(s.azimuthCommand, "07");
    EXPECT_DOUBLE_EQ(s.azimuthDegrees, 90.0);
    EXPECT_EQ(s.azimuthResets, 1);
  });
  EXPECT_EQ(Coded(4, testing::ToBytes("01")), Bytes{0});
  instrument.WithState([](InstrumentState& s) { EXPECT_DOUBLE_EQ(s.elevationDegrees, 90.0); });

  std::uint32_t start = 0;
  instrument.WithState([&](InstrumentState& s) { start = s.flashWriteCount; });
  const Bytes a = Coded(200);
  const Bytes b = Coded(200);
  ASSERT_EQ(a.size(), 4u);
  std::uint32_t ca, cb;
  std::memcpy(&ca, a.data(), 4);
  std::memcpy(&cb, b.data(), 4);
  EXPECT_EQ(ca, start + 1);
  EXPECT_EQ(cb, start + 2);
}

TEST_F(SimInstrument, ClockReadsCurrentUtc) {
  const auto now = std::chrono::system_clock::now();
  const Bytes clock = Coded(141);
  ASSERT_GE(clock.size(), 7u);
  const auto expected = ClockReply(now);
  // Month, day, year - 2000 and hour agree (unless the test straddles an hour).
  EXPECT_EQ(clock[1], expected[1]);
  EXPECT_EQ(clock[2], expected[2]);
  EXPECT_EQ(clock[3], expected[3]);
  EXPECT_LE(clock[6], 59);
  EXPECT_LE(clock[5], 59);
  // A known moment: 2013-03-15 08:04:00 UTC, a Friday.
  const auto moment = std::chrono::sys_days(std::chrono::year(2013) / 3 / 15) + std::chrono::hours(8) +
                      std::chrono::minutes(4);
  EXPECT_EQ(ClockReply(moment), (Bytes{5, 3, 15, 13, 8, 4, 0}));
}

TEST_F(SimInstrument, ValueBlocksHoldPlausibleSmoothHousekeeping) {
  const auto block = [&](int first, int count) {
    Bytes req = Le16(first);
    const Bytes c = Le16(count);
    req.insert(req.end(), c.begin(), c.end());
    return Coded(132, req);
  };
  const Bytes main = block(200, 60);
  ASSERT_EQ(main.size(), 240u);
  struct Near {
    int index;
    double nominal;
    double tolerance;
  };
  for (const Near n : {Near{0, 24, 0.2}, Near{1, 12, 0.1}, Near{2, 8, 0.1}, Near{3, 5, 0.05},
                       Near{4, 5, 0.05}, Near{5, 3.3, 0.03}, Near{17, 300, 3}, Near{26, 1013, 5}}) {
    EXPECT_NEAR(FloatAt(main, 4 * n.index), n.nominal, n.tolerance) << n.index;
  }
  const Bytes ambient = block(400, 4);
  ASSERT_EQ(ambient.size(), 16u);
  EXPECT_NEAR(FloatAt(ambient, 0), 45, 5);  // RH %
  EXPECT_NEAR(FloatAt(ambient, 4), 22, 2);  // Tamb C
  const Bytes ir = block(300, 10);
  ASSERT_EQ(ir.size(), 40u);
  EXPECT_NEAR(FloatAt(ir, 0), 290, 15);
  // Over a serial frame a block must fit in 255 bytes.
  Bytes req = Le16(200);
  const Bytes c = Le16(64);
  req.insert(req.end(), c.begin(), c.end());
  EXPECT_EQ(instrument.HandleCoded(132, req, 255, Transport::kSerial), Bytes{kTooLong});

  // Smooth: over a short time no channel jumps.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const Bytes later = block(200, 60);
  for (int k = 0; k < 60; ++k) {
    EXPECT_NEAR(FloatAt(later, 4 * k), FloatAt(main, 4 * k), 0.05) << k;
  }
}

TEST_F(SimInstrument, TextCommandsEndInOkAndUnknownOnesInNok) {
  for (const char* command : {"software", "fault", "status", "line", "STATUS "}) {
    const std::string reply = instrument.HandleText(command, 4095, Transport::kTcp);
    EXPECT_TRUE(reply.ends_with("\r\nOK\r\n")) << command << ": " << reply;
    EXPECT_GE(std::count(reply.begin(), reply.end(), '\n'), 2) << command;
  }
  EXPECT_TRUE(instrument.HandleText("frobnicate", 4095, Transport::kTcp).ends_with("\r\nNOK\r\n"));
  EXPECT_EQ(testing::ToText(Coded(128, testing::ToBytes("nonsense"))).substr(0, 7), "Unknown");
}

TEST_F(SimInstrument, ControlCommandsShapeTheReply) {
  for (std::size_t n : {4u, 6u, 255u, 256u, 1026u}) {
    const std::string reply = instrument.HandleText("sim text " + std::to_string(n), 1026, Transport::kTcp);
    EXPECT_EQ(reply.size(), n);
    EXPECT_TRUE(reply.ends_with("OK\r\n"));
  }
  EXPECT_EQ(instrument.HandleText("sim text 5000", 1026, Transport::kTcp).size(), 1026u);
  const std::string noterm = instrument.HandleText("sim noterm 5000", 8192, Transport::kSerial);
  EXPECT_EQ(noterm.size(), 5000u);
  EXPECT_EQ(noterm.find("OK\r\n"), std::string::npos);
  EXPECT_EQ(instrument.HandleText("sim echo *** fail\\r\\n", 4095, Transport::kSerial), "*** fail\r\n");
  EXPECT_EQ(instrument.HandleText("sim fault late-id", 4095, Transport::kTcp), "OK\r\n");
  EXPECT_TRUE(instrument.HandleText("sim fault sideways", 4095, Transport::kTcp).ends_with("NOK\r\n"));
  const auto armed = faults.Take({Transport::kTcp, false, 141});
  ASSERT_EQ(armed.size(), 1u);
  EXPECT_EQ(armed[0].kind, FaultKind::kLateId);
}

}  // namespace
}  // namespace varnok::sim
