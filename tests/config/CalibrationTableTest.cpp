#include <gtest/gtest.h>

#include "config/CalibrationTableExchange.h"
#include "tests/config/ConfigFixture.h"
#include "tests/support/FakeInstrumentLink.h"
#include "config/FrequencyCalRecord.h"
#include "config/PointFormat.h"
#include "core/AppError.h"

namespace varnok {
namespace {

using testing::Bytes;
using testing::FakeInstrumentLink;
using testing::Reply;

// The first sample row as a 76-byte record: six float32, six float64, one float32, little-endian.
const Bytes kFirstRowRecord = {
    0x00, 0x00, 0xB0, 0x41, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x89, 0x43,  // 22.000, 0, 275.0
    0xF7, 0xCC, 0x12, 0x39, 0x00, 0x5C, 0x00, 0x47, 0x00, 0x00, 0x90, 0x41,  // 0.000140, 32860, 18.0
    0x95, 0x2B, 0xBC, 0xCB, 0x45, 0x7C, 0xEF, 0x3F,                          // 0.98392
    0xC3, 0xF5, 0x28, 0x5C, 0xBE, 0x1F, 0x14, 0xC1,                          // -329711.59
    0x1C, 0x0B, 0x0A, 0x83, 0x32, 0x65, 0x46, 0x40,                          // 44.790604
    0x0B, 0x0A, 0xC5, 0x4E, 0x5F, 0xAC, 0xDB, 0xBF,                          // -0.43239577
    0xB2, 0x3F, 0x81, 0x15, 0x36, 0x73, 0x57, 0x3F,                          // 0.0014312771
    0x89, 0xBA, 0xC1, 0x63, 0xF0, 0x5A, 0xBB, 0xBE,                          // -0.0000016304988
    0xB8, 0x9E, 0xFE, 0x42};                                                 // 127.31

const CalibrationRow kFirstRowShown = {"22.000",         "0",
                                       "275.0",          "0.000140",
                                       "32860",          "18.0",
                                       "0.98392",        "-3.29711590E+05",
                                       "4.47906040E+01", "-4.32395770E-01",
                                       "1.43127710E-03", "-1.63049880E-06",
                                       "127.31"};

TEST(CalibrationTable, UploadOfTheSampleSendsThirtyFiveRows) {
  FakeInstrumentLink link;
  ConfigPanel panel = test::SamplePanel();
  panel.NumberOfFreq = "3";  // not consulted
  UploadCalibrationTable(link, panel);
  ASSERT_EQ(link.sent.size(), 35u);
  Bytes first = {0x00, 0x00};
  first.insert(first.end(), kFirstRowRecord.begin(), kFirstRowRecord.end());
  EXPECT_EQ(link.sent[0].payload, first);
  for (int r = 0; r < 35; ++r) {
    EXPECT_EQ(link.sent[r].code, 7);
    EXPECT_EQ(link.sent[r].length, 78);
    EXPECT_EQ(link.sent[r].payload[0], r) << "row index, low byte";
    EXPECT_EQ(link.sent[r].payload[1], 0);
  }
  EXPECT_EQ(link.LastStatus(), "OK");
}

TEST(CalibrationTable, UploadStopsAtTheFirstCellThatIsNoNumber) {
  const struct {
    const char* name;
    int filledRows;
    std::size_t sent;
  } cases[] = {{"22 filled rows", 22, 22}, {"empty table", 0, 0}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    ConfigPanel panel = test::SamplePanel();
    for (int r = k.filledRows + 1; r <= kCalibrationRows; ++r) panel.FTable[r].fill("");
    FakeInstrumentLink link;
    try {
      UploadCalibrationTable(link, panel);
      ADD_FAILURE() << "no conversion failure";
    } catch (const AppError& e) {
      EXPECT_STREQ(e.what(), "'' is not a valid floating point value");
    }
    EXPECT_EQ(link.sent.size(), k.sent);
  }

  ConfigPanel panel = test::SamplePanel();
  panel.FTable[3][12] = "1.5x";  // the last cell of row 3
  FakeInstrumentLink link;
  EXPECT_THROW(UploadCalibrationTable(link, panel), AppError);
  EXPECT_EQ(link.sent.size(), 2u) << "the row holding the bad cell is not sent";
}

TEST(CalibrationTable, UploadSendsEveryRowAndEndsOnTheFirstProblem) {
  FakeInstrumentLink link;
  link.responder = [](const testing::SentCommand& c) {
    if (c.payload[0] == 4) return Reply{1, {0xFE}};  // row 5 refused
    if (c.payload[0] == 9) return Reply{-1, {}};     // row 10 unanswered
    return Reply{1, {0}};
  };
  UploadCalibrationTable(link, test::SamplePanel());
  EXPECT_EQ(link.sent.size(), 35u);
  EXPECT_EQ(link.LastStatus(), "Problems:-2");
}

TEST(CalibrationTable, ReadBackShowsTheFirstSampleRowColumnByColumn) {
  FakeInstrumentLink link;
  link.replies[167].push_back(Reply{76, kFirstRowRecord});
  link.defaultReply = Reply{-1, {}};
  ConfigPanel panel;
  panel.NumberOfFreq = "2";
  ReadCalibrationTable(link, panel);
  EXPECT_EQ(panel.FTable[1], kFirstRowShown);
  ASSERT_EQ(link.sent.size(), 35u) << "all 35 rows are asked for, whatever NumberOfFreq says";
  for (int r = 0; r < 35; ++r) {
    EXPECT_EQ(link.sent[r].code, 167);
    EXPECT_EQ(link.sent[r].payload, (Bytes{static_cast<std::uint8_t>(r), 0}));
  }
  EXPECT_TRUE(panel.FTable[2][0].empty()) << "unanswered rows stay as they were";
  EXPECT_EQ(link.beeps, 0);
  EXPECT_TRUE(link.statusTexts.empty());
}

TEST(CalibrationTable, ShortRowRepliesFillOnlyWhatTheyCover) {
  const struct {
    int length;
    int cellsFilled;  // cells 0..cellsFilled-1 filled, the others empty; -1: row unchanged
  } cases[] = {{10, -1}, {11, 2},  {23, 5},  {24, 6},  {32, 7},
               {71, 11}, {72, 12}, {75, 12}, {76, 13}, {200, 13}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.length);
    Bytes reply = kFirstRowRecord;
    reply.resize(static_cast<std::size_t>(std::max(k.length, 76)), 0x7F);
    FakeInstrumentLink link;
    link.replies[167].push_back(Reply{k.length, reply});
    link.defaultReply = Reply{-1, {}};
    ConfigPanel panel = test::SamplePanel();
    const CalibrationRow before = panel.FTable[1];
    ReadCalibrationTable(link, panel);
    if (k.cellsFilled < 0) {
      EXPECT_EQ(panel.FTable[1], before);
      continue;
    }
    for (int c = 0; c < kCalibrationColumns; ++c) {
      if (c < k.cellsFilled) {
        EXPECT_EQ(panel.FTable[1][c], kFirstRowShown[c]) << "column " << c;
      } else {
        EXPECT_EQ(panel.FTable[1][c], "") << "column " << c;
      }
    }
  }
}

TEST(CalibrationTable, UploadAfterAShortReadStopsAtTheIncompleteRow) {
  FakeInstrumentLink link;
  link.defaultReply = Reply{-1, {}};
  link.replies[167] = {Reply{76, kFirstRowRecord}, Reply{40, kFirstRowRecord}};
  ConfigPanel panel = test::SamplePanel();
  ReadCalibrationTable(link, panel);

  FakeInstrumentLink uploader;
  EXPECT_THROW(UploadCalibrationTable(uploader, panel), AppError);
  EXPECT_EQ(uploader.sent.size(), 1u) << "row 2 has empty cells and is not sent";
}

TEST(CalibrationTable, DoubleColumnPatternsUseTheFullStop) {
  const struct {
    double value;
    const char* fixed5;
    const char* padded;
    const char* exponent;
  } cases[] = {
      {-329711.59, "-329711.59000", "-3.29711590E+05", "-3.29711590E+05"},
      {329711.59, "329711.59000", "03.29711590E+05", "3.29711590E+05"},
      {0.0, "0.00000", "00.00000000E+00", "0.00000000E+00"},
      {0.98392, "0.98392", "09.83920000E-01", "9.83920000E-01"},
      {-1.6304988e-06, "-0.00000", "-1.63049880E-06", "-1.63049880E-06"},
      {1e100, "", "1.00000000E+100", "1.00000000E+100"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.value);
    if (*k.fixed5 != '\0') {
      EXPECT_EQ(FormatPointFixed(k.value, 5), k.fixed5);
    }
    EXPECT_EQ(FormatPointExponent(k.value, 8, 15), k.padded);
    EXPECT_EQ(FormatPointExponent(k.value, 8), k.exponent);
  }
}

}  // namespace
}  // namespace varnok
