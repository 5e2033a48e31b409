#include <gtest/gtest.h>

#include "tests/config/ConfigFixture.h"
#include "tests/support/FakeInstrumentLink.h"
#include "config/CalConstantsRecord.h"
#include "config/SettingsExchange.h"
#include "core/AppError.h"

namespace varnok {
namespace {

using testing::Bytes;
using testing::FakeInstrumentLink;
using testing::Reply;

// The four payloads the sample file's panel must produce, written out byte by byte (little-endian
// IEEE 754 single precision).
const Bytes kSampleTip = {0x05, 0x00,                                               // count 5
                          0x48, 0xE1, 0x7A, 0x3F, 0x00, 0x00, 0x00, 0x00,           // 0.98, 0.0
                          0x00, 0x00, 0x00, 0x00, 0xCD, 0xCC, 0x4C, 0x3F,           // 0, 0.8
                          0x00, 0x00, 0xF0, 0x41, 0x00, 0x00, 0x34, 0x42,           // 30, 45
                          0x00, 0x00, 0xB4, 0x42, 0x00, 0x00, 0x07, 0x43,           // 90, 135
                          0x00, 0x00, 0x16, 0x43};                                  // 150
const Bytes kSampleCorrections = {0xA4, 0x70, 0xBD, 0xBE, 0x9A, 0x99, 0x59, 0xBF,   // -0.37, -0.85
                                  0xCD, 0xCC, 0x4C, 0x3F, 0x00, 0x00, 0x00, 0x00};  // 0.80, 0.00
const Bytes kSampleBlower = {0xCD, 0xCC, 0x4C, 0x3F, 0x00, 0x00,
                             0x8C, 0x42, 0x00, 0x00, 0xF0, 0x41};  // 0.80, 70, 30
const Bytes kSampleCalConstants = {'2',  '0',  '1',  '2',  '/',  '0',  '3',  '/',  '0',  '9',
                                   ' ',  '1',  '8',  ':',  '4',  '6',  '2',  '0',  '1',  '2',
                                   '/',  '0',  '7',  '/',  '0',  '5',  ' ',  '1',  '6',  ':',
                                   '3',  '9',  0x00, 0x00, 0x50, 0x41, 0xC3, 0x75, 0x88, 0x42,  // 13.0, 68.23
                                   0xED, 0x0F, 0x14, 0x3C, 0x24, 0x97, 0xFF, 0x3B,  // 0.009037, 0.0078
                                   0xCD, 0x02, 0xCC, 0x36, 0x33, 0x33, 0xA3, 0x40,  // 6.08e-6, 5.1
                                   0x00, 0x00, 0x16, 0x44, 0x00, 0x00, 0x48, 0x43,  // 600, 200
                                   0xF6, 0x28, 0x1C, 0xBF, 0x2B, 0x87, 0x8A, 0x40,  // -0.61, 4.329
                                   0x7B, 0x14, 0x2E, 0x3E, 0xF0, 0xA7, 0x8A, 0x40,  // 0.17, 4.333
                                   0xCD, 0xCC, 0x4C, 0x3D, 0xB8, 0x1E, 0x85, 0x3D,  // 0.05, 0.065
                                   0x66, 0x66, 0x66, 0x3F,                          // 0.90
                                   0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0x20, 0x41,  // 10, 10
                                   0x00, 0x00, 0x20, 0x40, 0x00, 0x00, 0x20, 0x41,  // 2.5, 10
                                   0x00, 0x00, 0x48, 0x43};                         // 200

Bytes ZeroPadded(Bytes bytes, std::size_t size) {
  bytes.resize(size, 0);
  return bytes;
}

TEST(SettingsUpload, SampleFileSendsTheFourRecordsByteForByte) {
  FakeInstrumentLink link;
  UploadSettings(link, test::SamplePanel());
  ASSERT_EQ(link.SentCodes(), (std::vector<int>{8, 9, 10, 11}));
  EXPECT_EQ(link.sent[0].length, 38);
  EXPECT_EQ(link.sent[0].payload, kSampleTip);
  EXPECT_EQ(link.sent[1].length, 64);
  EXPECT_EQ(link.sent[1].payload, ZeroPadded(kSampleCorrections, 64));
  EXPECT_EQ(link.sent[2].length, 80);
  EXPECT_EQ(link.sent[2].payload, ZeroPadded(kSampleBlower, 80));
  EXPECT_EQ(link.sent[3].length, 128);
  EXPECT_EQ(link.sent[3].payload, ZeroPadded(kSampleCalConstants, 128));
  EXPECT_EQ(link.showCommandStatusCalls, 4);
  EXPECT_EQ(link.LastStatus(), "OK");
}

TEST(SettingsUpload, CountIsSentAsTypedWithEveryListedAngle) {
  ConfigPanel panel = test::SamplePanel();
  panel.Tip3 = "4";
  FakeInstrumentLink link;
  UploadSettings(link, panel);
  ASSERT_FALSE(link.sent.empty());
  Bytes expected = kSampleTip;
  expected[0] = 0x04;
  EXPECT_EQ(link.sent[0].length, 38);
  EXPECT_EQ(link.sent[0].payload, expected);

  panel.Tip3 = "65541";  // only the low 16 bits travel
  link.sent.clear();
  UploadSettings(link, panel);
  EXPECT_EQ(link.sent[0].payload[0], 0x05);
  EXPECT_EQ(link.sent[0].payload[1], 0x00);
}

TEST(SettingsUpload, DatesTravelAsSixteenCharactersZeroFilled) {
  ConfigPanel panel = test::SamplePanel();
  panel.LastFCal = "2013/1/2";
  panel.LastUserCal = "";
  FakeInstrumentLink link;
  UploadSettings(link, panel);
  ASSERT_EQ(link.sent.size(), 4u);
  const Bytes& cal = link.sent[3].payload;
  EXPECT_EQ(Bytes(cal.begin(), cal.begin() + 32),
            (Bytes{'2', '0', '1', '3', '/', '1', '/', '2', 0, 0, 0, 0, 0, 0, 0, 0,
                   0,   0,   0,   0,   0,   0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0}));
}

// The instrument keeps each date as 16 Windows-1252 characters: the text is cut by characters, not
// by UTF-8 bytes, and read back by the same rule.
TEST(SettingsUpload, DatesGoOutInWindows1252CutAtSixteenCharacters) {
  const struct {
    const char* date;  // as the panel holds it (UTF-8)
    std::string field;
    const char* readBack;
  } cases[] = {
      {"2013°01°02 “ab”€€€",
       std::string("2013\xB0"
                   "01\xB0"
                   "02 \x93"
                   "ab\x94\x80\x80",
                   16),
       "2013°01°02 “ab”€"},
      {"ĝ2013/01/02", std::string("?2013/01/02\0\0\0\0\0", 16), "?2013/01/02"},
      {"2012/03/09 18:46:19", "2012/03/09 18:46", "2012/03/09 18:46"},
  };
  for (const auto& c : cases) {
    ConfigPanel panel = test::SamplePanel();
    panel.LastFCal = c.date;
    const std::vector<std::uint8_t> payload = BuildCalConstantsPayload(panel);
    EXPECT_EQ(std::string(payload.begin(), payload.begin() + 16), c.field) << c.date;
    EXPECT_EQ(DateFieldText(payload.data()), c.readBack) << c.date;
  }
}

TEST(SettingsUpload, PairsWithFewerNumbersLeaveTheMissingOnesZero) {
  ConfigPanel panel = test::SamplePanel();
  panel.CFG_C7 = "600";           // no second number
  panel.CFG_C8 = "-0.61 ,4.329";  // the comma must follow the number directly
  panel.CFG_C9 = "x";
  panel.CalIntParam = "10, 10.0,2.5";
  FakeInstrumentLink link;
  link.defaultReply =
      Reply{static_cast<int>(kBinaryDataSize), Bytes(kBinaryDataSize, 0xEE)};  // junk everywhere
  UploadSettings(link, panel);
  ASSERT_EQ(link.sent.size(), 4u);
  const Bytes& cal = link.sent[3].payload;
  const Bytes expected56to92 = {0x00, 0x00, 0x16, 0x44, 0, 0, 0, 0,   // 600, missing
                                0xF6, 0x28, 0x1C, 0xBF, 0, 0, 0, 0,   // -0.61, missing
                                0,    0,    0,    0,    0, 0, 0, 0};  // nothing scanned
  EXPECT_EQ(Bytes(cal.begin() + 56, cal.begin() + 80), expected56to92);
  const Bytes expectedParams = {
      0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0x20, 0x41, 0x00, 0x00,
      0x20, 0x40, 0,    0,    0,    0,    0,    0,    0,    0};  // 10, 10, 2.5, missing, missing
  EXPECT_EQ(Bytes(cal.begin() + 92, cal.begin() + 112), expectedParams);
}

TEST(SettingsUpload, NoByteOfAnEarlierReplyIsSentAgain) {
  FakeInstrumentLink link;
  // Every command is answered with a long reply that fills the whole buffer with junk.
  link.defaultReply = Reply{static_cast<int>(kBinaryDataSize), Bytes(kBinaryDataSize, 0xA5)};
  UploadSettings(link, test::SamplePanel());
  ASSERT_EQ(link.sent.size(), 4u);
  EXPECT_EQ(link.sent[0].payload, kSampleTip);
  EXPECT_EQ(link.sent[1].payload, ZeroPadded(kSampleCorrections, 64));
  EXPECT_EQ(link.sent[2].payload, ZeroPadded(kSampleBlower, 80));
  EXPECT_EQ(link.sent[3].payload, ZeroPadded(kSampleCalConstants, 128));
}

TEST(SettingsUpload, ConversionFailureStopsAtItsCommand) {
  const struct {
    const char* name;
    void (*edit)(ConfigPanel&);
    std::vector<int> sent;
    const char* message;
  } cases[] = {
      {"Tip3 not an integer",
       [](ConfigPanel& p) { p.Tip3 = "5.0"; },
       {},
       "'5.0' is not a valid integer value"},
      {"angle not a number",
       [](ConfigPanel& p) { p.TipL[2] = "ninety"; },
       {},
       "'ninety' is not a valid floating point value"},
      {"Offset2 not a number",
       [](ConfigPanel& p) { p.Offset2 = "n/a"; },
       {8},
       "'n/a' is not a valid floating point value"},
      {"empty BlRain",
       [](ConfigPanel& p) { p.BlRain = ""; },
       {8, 9},
       "'' is not a valid floating point value"},
      {"CFG_C11 not a number",
       [](ConfigPanel& p) { p.CFG_C11 = "tol"; },
       {8, 9, 10},
       "'tol' is not a valid floating point value"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    ConfigPanel panel = test::SamplePanel();
    k.edit(panel);
    FakeInstrumentLink link;
    try {
      UploadSettings(link, panel);
      ADD_FAILURE() << "no conversion failure";
    } catch (const AppError& e) {
      EXPECT_STREQ(e.what(), k.message);
    }
    EXPECT_EQ(link.SentCodes(), k.sent);
  }
}

TEST(SettingsUpload, MoreThanSixteenAnglesAreRefusedBeforeAnythingIsSent) {
  ConfigPanel panel = test::SamplePanel();
  panel.TipL.assign(17, "30");
  FakeInstrumentLink link;
  try {
    UploadSettings(link, panel);
    ADD_FAILURE() << "upload of 17 angles went ahead";
  } catch (const AppError& e) {
    EXPECT_NE(std::string(e.what()).find("16"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(link.sent.empty());

  panel.TipL.assign(16, "30");
  UploadSettings(link, panel);
  ASSERT_EQ(link.sent.size(), 4u);
  EXPECT_EQ(link.sent[0].length, 18 + 4 * 16);
}

TEST(SettingsUpload, StatusEndsOnTheFirstProblemNotOnALaterOk) {
  const Reply ok{1, {0}};
  const Reply refused{1, {0xFF}};
  const Reply refused3{1, {3}};
  const Reply noAnswer{-1, {}};
  const Reply longReply{4, {9, 9, 9, 9}};
  const struct {
    const char* name;
    std::vector<Reply> replies;  // for codes 8, 9, 10, 11
    const char* finalStatus;
  } cases[] = {
      {"all accepted", {ok, longReply, ok, ok}, "OK"},
      {"one refusal", {ok, refused, ok, ok}, "Problems:-1"},
      {"no answer then a refusal", {ok, ok, noAnswer, refused3}, "Not Connected"},
      {"refusal on the last", {ok, ok, ok, refused3}, "Problems:3"},
      {"nothing answers", {noAnswer, noAnswer, noAnswer, noAnswer}, "Not Connected"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    FakeInstrumentLink link;
    for (int i = 0; i < 4; ++i) link.replies[static_cast<std::uint8_t>(8 + i)].push_back(k.replies[i]);
    UploadSettings(link, test::SamplePanel());
    EXPECT_EQ(link.SentCodes(), (std::vector<int>{8, 9, 10, 11})) << "every command is sent";
    EXPECT_GE(link.showCommandStatusCalls, 4) << "each outcome is shown";
    EXPECT_EQ(link.LastStatus(), k.finalStatus);
  }
}

TEST(SettingsUpload, FirstProblemStaysShownWhenAConversionEndsTheUpload) {
  ConfigPanel panel = test::SamplePanel();
  panel.CFG_C1 = "";
  FakeInstrumentLink link;
  link.replies[8].push_back(Reply{1, {0x80}});
  EXPECT_THROW(UploadSettings(link, panel), AppError);
  EXPECT_EQ(link.SentCodes(), (std::vector<int>{8, 9, 10}));
  EXPECT_EQ(link.LastStatus(), "Problems:-128");
}

TEST(SaveToFlash, ShowsTheWriteCountOrTheOutcome) {
  const struct {
    Reply reply;
    const char* status;
  } cases[] = {
      {{4, {12, 0, 0, 0}}, "Number of writes = 12"},
      {{6, {0x2C, 0x01, 0, 0, 7, 7}}, "Number of writes = 300"},
      {{4, {0xFF, 0xFF, 0xFF, 0xFF}}, "Number of writes = -1"},
      {{1, {0}}, "OK"},
      {{1, {2}}, "Problems:2"},
      {{3, {12, 0, 0}}, "OK"},
      {{-1, {}}, "Not Connected"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.status);
    FakeInstrumentLink link;
    link.defaultReply = k.reply;
    SaveSettingsToFlash(link);
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sent[0].code, 200);
    EXPECT_EQ(link.sent[0].length, 0);
    EXPECT_EQ(link.LastStatus(), k.status);
  }
}

}  // namespace
}  // namespace varnok
