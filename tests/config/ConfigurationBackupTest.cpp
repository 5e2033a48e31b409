// Backup and restore logic against a scripted link: exact number texts, the written file read back
// by the console's parser, refusals before anything is sent, and where a backup or restore stops.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "config/BlowerRecord.h"
#include "config/CalConstantsRecord.h"
#include "config/ConfigFileWriter.h"
#include "tests/config/ConfigFixture.h"
#include "config/ConfigurationBackup.h"
#include "config/ExactNumberText.h"
#include "tests/support/FakeInstrumentLink.h"
#include "config/FrequencyCalRecord.h"
#include "link/LittleEndian.h"
#include "config/TipConfigRecord.h"
#include "config/UserCorrectionsRecord.h"

namespace varnok {
namespace {

using testing::Bytes;
using testing::FakeInstrumentLink;
using testing::Reply;

TEST(ExactNumberText, ReadsBackToTheSameBits) {
  const float floats[] = {0.98f,         -0.37f,
                          6.08e-6f,      0.1f,
                          -0.0f,         1e-45f /* smallest subnormal */,
                          FLT_MAX,       16777217.0f,
                          3.4028234e38f, 1.17549435e-38f,
                          0.333333343f};
  for (float f : floats) {
    const std::string text = ExactFloat32Text(f);
    EXPECT_TRUE(ReadsBackAsFloat32(text, f)) << text;
    EXPECT_FALSE(ReadsBackAsFloat32(text, std::nextafter(f, 1.0f)))
        << "the check sees one unit of difference";
  }
  const double doubles[] = {-329711.59, 0.0014312771, -1.6304988e-06, 0.1, 1e-300, DBL_MAX, 4.9e-324, -0.0};
  for (double d : doubles) EXPECT_TRUE(ReadsBackAsFloat64(ExactFloat64Text(d), d)) << ExactFloat64Text(d);
  EXPECT_EQ(ExactFloat32Text(30.0f), "30") << "a whole angle stays a whole number for the parser";
  EXPECT_EQ(ExactFloat32Text(0.98f), "0.98");
  EXPECT_FALSE(ReadsBackAsFloat32(ExactFloat32Text(std::numeric_limits<float>::infinity()),
                                  std::numeric_limits<float>::infinity()))
      << "an infinity has no text the panel reads";
}

// Every text field of the panel with the table, for comparing two panels.
std::vector<std::string> Fields(const ConfigPanel& p) {
  std::vector<std::string> f = {p.Tip1,
                                p.Tip2,
                                p.Tip3,
                                p.Tip9,
                                p.Tip10,
                                TrimConfigText(p.LastFCal),
                                TrimConfigText(p.LastUserCal),
                                p.CFG_C1,
                                p.CFG_C2,
                                p.CFG_C3,
                                p.CFG_C4,
                                p.CFG_C5,
                                p.CFG_C6,
                                p.CFG_C7,
                                p.CFG_C8,
                                p.CFG_C9,
                                p.CFG_C10,
                                TrimConfigText(p.CFG_C11),
                                p.Offset1,
                                p.Offset2,
                                p.Offset3,
                                p.Offset4,
                                TrimConfigText(p.CalIntParam),
                                p.BlRain,
                                p.BlRH,
                                p.BlSpeed};
  f.insert(f.end(), p.TipL.begin(), p.TipL.end());
  for (int r = 1; r <= kCalibrationRows; ++r) f.insert(f.end(), p.FTable[r].begin(), p.FTable[r].end());
  return f;
}

TEST(ConfigFileWriter, TheConsolesParserReadsBackEveryField) {
  ConfigPanel panel;
  panel.Tip1 = "0.123456";
  panel.Tip2 = "-17.5";
  panel.Tip3 = "3";
  panel.TipL = {"10", "20", "170"};
  panel.Tip9 = "1";
  panel.Tip10 = "1.25";
  panel.BlRain = "0.5";
  panel.BlRH = "81.25";
  panel.BlSpeed = "12";
  panel.LastFCal = "2030/01/02 03:04";
  panel.LastUserCal = "2031/05/06 07:08";
  panel.CalIntParam = "1,2.5,3,4,5000";
  panel.CFG_C11 = "1.5e-3";
  const char* const coefficients[] = {"1", "2", "3", "4", "5e-07", "6"};
  std::string* const singles[] = {&panel.CFG_C1, &panel.CFG_C2, &panel.CFG_C3,
                                  &panel.CFG_C4, &panel.CFG_C5, &panel.CFG_C6};
  for (int i = 0; i < 6; ++i) *singles[i] = coefficients[i];
  panel.CFG_C7 = "600,200";
  panel.CFG_C8 = "-0.61,4.329";
  panel.CFG_C9 = "0.17,4.333";
  panel.CFG_C10 = "0.05,0.065";
  panel.Offset1 = "-0.37";
  panel.Offset2 = "-0.85";
  panel.Offset3 = "0.8";
  panel.Offset4 = "1e-05";
  for (int r = 1; r <= kCalibrationRows; ++r) {
    for (int c = 0; c < kCalibrationColumns; ++c) panel.FTable[r][c] = std::to_string(r * 100 + c) + ".5";
  }
  // A value of 16 characters or more.
  panel.FTable[35][7] = "-1.2345678901234567e+300";
  panel.Offset2 = "-0.12345678901234567";

  const std::string text = WriteConfigurationText(panel, {"a comment", "model\rCOEF:\n"});
  ConfigPanel back;
  back.TipL.clear();
  ASSERT_EQ(ParseConfiguration(SplitConfigLines(text), back), ParseOutcome::kComplete);
  EXPECT_EQ(Fields(back), Fields(panel));
  EXPECT_EQ(back.NumberOfFreq, "35");
  EXPECT_EQ(back.LastFCal, "2030/01/02 03:04    ") << "the date's 20 characters, without the comment";

  // The instrument's own layout: CR LF everywhere, the ":" in column 17, one blank after a long value.
  EXPECT_TRUE(
      text.starts_with("# a comment\r\n# model COEF; \r\n\r\nTIP CONFIGURATION: (For all TIP Commands)\r\n"
                       "0.123456        :regression coeff for a good tip\r\n"))
      << text.substr(0, 200);
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') ASSERT_EQ(text[i - 1], '\r') << "at " << i;
  }
  EXPECT_NE(text.find("\r\n-0.12345678901234567 :Tamb correction\r\n"), std::string::npos);
}

TEST(ConfigFileWriter, SampleFileRewrittenGivesTheSamePanel) {
  const ConfigPanel sample = test::SamplePanel();
  ConfigPanel back;
  ASSERT_EQ(ParseConfiguration(SplitConfigLines(WriteConfigurationText(sample, {})), back),
            ParseOutcome::kComplete);
  EXPECT_EQ(Fields(back), Fields(sample));
  EXPECT_EQ(back.LastFCal, sample.LastFCal) << "the date's 20 characters as the parser takes them";
  EXPECT_EQ(back.LastUserCal, sample.LastUserCal);
}

// The sample file with one line replaced.
std::vector<std::string> SampleWith(const std::string& prefix, const std::string& replacement) {
  std::vector<std::string> lines = test::SampleLines();
  for (auto& line : lines) {
    if (line.starts_with(prefix)) {
      line = replacement;
      return lines;
    }
  }
  ADD_FAILURE() << "no line starts with " << prefix;
  return lines;
}

TEST(PrepareRestore, RefusesWhatTheConsoleWouldRefuseWithItsMessage) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::string refusal;
  };
  std::vector<std::string> fewRows = test::SampleLines();
  // Only 22 of the 35 table lines: the console's upload meets an empty cell at row 23.
  for (std::size_t i = 0; i < fewRows.size(); ++i) {
    if (fewRows[i].find("number of frequencies") != std::string::npos) {
      fewRows[i] = "22              :number of frequencies";
      fewRows.erase(fewRows.begin() + static_cast<long>(i) + 2 + 22,
                    fewRows.begin() + static_cast<long>(i) + 2 + 35);
      break;
    }
  }
  std::vector<std::string> manyAngles = SampleWith("5               :Number of Elevation Angles",
                                                   "17              :Number of Elevation Angles");
  const Case cases[] = {
      {"a blower value that is not a number",
       SampleWith("0.80            :Rain sensor", "abc             :Rain"),
       "'abc' is not a valid floating point value"},
      {"a tip count that is not an integer", SampleWith("5               :Number", "5.5             :Number"),
       "'5.5' is not a valid integer value"},
      {"22 table rows", fewRows, "'' is not a valid floating point value"},
      {"a frequency count that is not a whole number",
       SampleWith("35              :number", "3x  :number of frequencies"),
       "The number of frequencies '3x' is not a whole number: the file is not read past its calibration "
       "block"},
      {"more angles than the instrument takes", manyAngles,
       "Too many elevation angles (17): the instrument takes at most 16, nothing was uploaded"},
  };
  for (const Case& k : cases) {
    const RestorePreparation prepared = PrepareRestore(k.lines);
    EXPECT_FALSE(prepared.ok) << k.what;
    EXPECT_EQ(prepared.refusal, k.refusal) << k.what;
    EXPECT_TRUE(prepared.plan.commands.empty()) << k.what;
  }
}

TEST(PrepareRestore, SampleFileGivesTheConsolesPayloadsInItsOrder) {
  const RestorePreparation prepared = PrepareRestore(test::SampleLines());
  ASSERT_TRUE(prepared.ok) << prepared.refusal;
  const ConfigPanel sample = test::SamplePanel();
  const auto& commands = prepared.plan.commands;
  ASSERT_EQ(commands.size(), 4u + kCalibrationRows);
  EXPECT_EQ(commands[0].code, 8);
  EXPECT_EQ(commands[0].payload, BuildTipConfigPayload(sample));
  EXPECT_EQ(commands[1].code, 9);
  EXPECT_EQ(commands[1].payload, BuildUserCorrectionsPayload(sample));
  EXPECT_EQ(commands[2].code, 10);
  EXPECT_EQ(commands[2].payload, BuildBlowerPayload(sample));
  EXPECT_EQ(commands[3].code, 11);
  EXPECT_EQ(commands[3].payload, BuildCalConstantsPayload(sample));
  for (int r = 1; r <= kCalibrationRows; ++r) {
    EXPECT_EQ(commands[3 + r].code, 7);
    EXPECT_EQ(commands[3 + r].payload, BuildCalibrationRowPayload(r - 1, sample.FTable[r])) << r;
  }
}

TEST(RunRestore, StopsAtTheFirstCommandNotAccepted) {
  const RestorePreparation prepared = PrepareRestore(test::SampleLines());
  ASSERT_TRUE(prepared.ok);
  struct Case {
    const char* what;
    std::uint8_t failingCode;
    Reply reply;
    std::vector<int> sent;
    std::string lastOutcome;
  };
  std::vector<int> everything = {8, 9, 10, 11};
  everything.insert(everything.end(), kCalibrationRows, 7);
  std::vector<int> withFlash = everything;
  withFlash.push_back(200);
  const Case cases[] = {
      {"the blower settings refused", 10, Reply{1, {0xFF}}, {8, 9, 10}, "Problems:-1"},
      {"no answer to the constants", 11, Reply{-1, {0}}, {8, 9, 10, 11}, "Not Connected"},
      {"flash refused", 200, Reply{1, {3}}, withFlash, "Problems:3"},
      {"all accepted", 0, Reply{}, withFlash, "Number of writes = 12"},
  };
  for (const Case& k : cases) {
    FakeInstrumentLink link;
    link.replies[200].push_back(Reply{4, {12, 0, 0, 0}});
    if (k.failingCode != 0) {
      link.replies[k.failingCode].clear();
      link.replies[k.failingCode].push_back(k.reply);
    }
    std::vector<ConfigurationStep> steps;
    const bool ok =
        RunRestore(link, prepared.plan, true, [&](const ConfigurationStep& s) { steps.push_back(s); });
    EXPECT_EQ(ok, k.failingCode == 0) << k.what;
    EXPECT_EQ(link.SentCodes(), k.sent) << k.what;
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back().outcome, k.lastOutcome) << k.what;
    EXPECT_EQ(steps.back().ok, k.failingCode == 0) << k.what;
  }
}

// An instrument answering like the sample file, with one group's reply replaced.
Reply TipReply(int count, float firstAngle) {
  Bytes bytes(18 + 4 * std::max(count, 0), 0);
  PutUInt16(bytes.data(), static_cast<std::uint16_t>(count));
  for (int k = 0; k < count; ++k) {
    const float angle = k == 0 ? firstAngle : 30.0f + k;
    std::memcpy(&bytes[18 + 4 * k], &angle, 4);
  }
  return Reply{static_cast<int>(bytes.size()), bytes};
}

TEST(BackupConfiguration, FailsAtTheFirstReplyItCannotKeep) {
  struct Case {
    const char* what;
    std::uint8_t code;
    Reply reply;
    std::string failure;
  };
  const Case cases[] = {
      {"no answer", 168, Reply{-1, {0}}, "read tip configuration (code 168): no answer (result -1)"},
      {"17 angles", 168, TipReply(17, 30),
       "read tip configuration (code 168): the instrument reports 17 elevation "
       "angles, at most 16 are possible"},
      {"a fractional angle", 168, TipReply(2, 30.5f),
       "read tip configuration (code 168): elevation angle #1 is 30.5: a configuration file holds whole "
       "degrees only"},
      {"short blower reply", 170, Reply{12, Bytes(12, 0)},
       "read blower settings (code 170): reply of 12 bytes, 80 needed"},
      {"short calibration row", 167, Reply{40, Bytes(40, 0)},
       "read calibration row 1 (code 167): reply of 40 bytes, 76 needed"},
  };
  for (const Case& k : cases) {
    FakeInstrumentLink link;
    link.responder = [](const testing::SentCommand& c) {
      if (c.code == 168) return TipReply(5, 30);
      const int size = c.code == 167 ? 76 : c.code == 169 ? 64 : c.code == 170 ? 80 : 128;
      return Reply{size, Bytes(static_cast<std::size_t>(size), 0)};
    };
    link.replies[k.code].push_back(k.reply);
    const BackupResult result = BackupConfiguration(link, {}, [](const ConfigurationStep&) {});
    EXPECT_FALSE(result.ok) << k.what;
    EXPECT_EQ(result.failure, k.failure) << k.what;
    EXPECT_TRUE(result.fileText.empty()) << k.what;
    EXPECT_EQ(link.SentCodes().back(), k.code) << k.what << ": nothing is read after the failure";
  }
}

TEST(BackupConfiguration, AnInfinityIsCaughtBeforeTheFileIsHandedBack) {
  FakeInstrumentLink link;
  link.responder = [](const testing::SentCommand& c) {
    if (c.code == 168) return TipReply(5, 30);
    const int size = c.code == 167 ? 76 : c.code == 169 ? 64 : c.code == 170 ? 80 : 128;
    Bytes bytes(static_cast<std::size_t>(size), 0);
    if (c.code == 170) {
      const float infinity = std::numeric_limits<float>::infinity();
      std::memcpy(&bytes[4], &infinity, 4);
    }
    return Reply{size, bytes};
  };
  const BackupResult result = BackupConfiguration(link, {}, [](const ConfigurationStep&) {});
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(
      result.failure.starts_with("check that the file reads back to the same bytes: the instrument holds a "
                                 "value a configuration file cannot carry: 'inf'"))
      << result.failure;
}

}  // namespace
}  // namespace varnok

namespace varnok {
namespace {

TEST(BackupConfiguration, ADateTheFileCannotGiveBackIsCaught) {
  struct Case {
    const char* what;
    std::string date;
    bool ok;
  };
  const Case cases[] = {
      {"plain ASCII", "2026/12/10 09:41", true},
      {"shorter than 16 characters", "2026/12/10", true},
      // Windows-1252 bytes: the console reads the file back as UTF-8 and would upload other bytes.
      {"Windows-1252 letters",
       "10 d\xE9"
       "c 2026",
       false},
  };
  for (const Case& k : cases) {
    testing::FakeInstrumentLink link;
    link.responder = [&](const testing::SentCommand& c) {
      if (c.code == 168) return TipReply(5, 30);
      const int size = c.code == 167 ? 76 : c.code == 169 ? 64 : c.code == 170 ? 80 : 128;
      Bytes bytes(static_cast<std::size_t>(size), 0);
      if (c.code == 171) std::copy(k.date.begin(), k.date.end(), bytes.begin());
      return Reply{size, bytes};
    };
    std::vector<ConfigurationStep> steps;
    const BackupResult result =
        BackupConfiguration(link, {}, [&](const ConfigurationStep& s) { steps.push_back(s); });
    EXPECT_EQ(result.ok, k.ok) << k.what << ": " << result.failure;
    if (!k.ok) {
      EXPECT_EQ(result.failure,
                "check that the file reads back to the same bytes: the calibration constants differ")
          << k.what;
    }
    const bool noted = std::any_of(steps.begin(), steps.end(), [](const ConfigurationStep& s) {
      return s.outcome.starts_with("the factory calibration date has 10 characters");
    });
    EXPECT_EQ(noted, k.date.size() == 10) << k.what;
  }
}

}  // namespace
}  // namespace varnok
