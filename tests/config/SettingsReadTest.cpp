#include <gtest/gtest.h>

#include "tests/support/FakeInstrumentLink.h"
#include "config/SettingsExchange.h"

namespace varnok {
namespace {

using testing::Bytes;
using testing::FakeInstrumentLink;
using testing::Reply;

// Replies of an instrument holding the sample settings, written out byte by byte.
Bytes TipReply() {
  return {0x05, 0x00, 0x48, 0xE1, 0x7A, 0x3F, 0x00, 0x00, 0x00, 0x00,              // 5; 0.98, 0.0
          0x00, 0x00, 0x80, 0x3F, 0xCD, 0xCC, 0x4C, 0x3F,                          // 1, 0.8
          0x00, 0x00, 0xF0, 0x41, 0x00, 0x00, 0x34, 0x42, 0x00, 0x00, 0xB4, 0x42,  // 30, 45, 90
          0x00, 0x00, 0x07, 0x43, 0x00, 0x00, 0x16, 0x43};                         // 135, 150
}
Bytes CorrectionsReply() {
  Bytes b = {0xA4, 0x70, 0xBD, 0xBE, 0x9A, 0x99, 0x59, 0xBF, 0xCD, 0xCC, 0x4C, 0x3F, 0x00, 0x00, 0xC0, 0xBF};
  b.resize(64, 0);  // -0.37, -0.85, 0.80, -1.5
  return b;
}
Bytes BlowerReply() {
  Bytes b = {0xCD, 0xCC, 0x4C, 0x3F, 0x00, 0x00, 0x8C, 0x42, 0x00, 0x00, 0xF0, 0x41};  // 0.80, 70, 30
  b.resize(80, 0);
  return b;
}
Bytes CalConstantsReply() {
  Bytes b = {
      '2',  '0',  '1',  '2',  '/',  '0',  '3',  '/', '0', '9', ' ', '1', '8', ':', '4', '6',  // full: no zero
      '2',  '0',  '1',  '2',  0,    '7',  '/',  '0', '5', ' ', '1', '6', ':', '3', '9', 0,    // zero inside
      0x00, 0x00, 0x50, 0x41, 0xC3, 0x75, 0x88, 0x42};                                        // 13.0, 68.23
  b.resize(128, 0);
  return b;
}

Reply Full(const Bytes& b) { return Reply{static_cast<int>(b.size()), b}; }

// A panel whose fields are all marked, to see which ones a read touched.
ConfigPanel MarkedPanel() {
  ConfigPanel p;
  for (std::string* f : {&p.Tip1, &p.Tip2, &p.Tip3, &p.Tip9, &p.Tip10, &p.LastFCal, &p.LastUserCal, &p.CFG_C1,
                         &p.CFG_C2, &p.CFG_C11, &p.CalIntParam, &p.Offset1, &p.Offset2, &p.Offset3,
                         &p.Offset4, &p.BlRain, &p.BlRH, &p.BlSpeed, &p.NumberOfFreq}) {
    *f = "unchanged";
  }
  p.TipL = {"unchanged"};
  return p;
}

TEST(SettingsRead, FillsTheFieldsFromTheFourReplies) {
  FakeInstrumentLink link;
  link.replies[168].push_back(Full(TipReply()));
  link.replies[169].push_back(Full(CorrectionsReply()));
  link.replies[170].push_back(Full(BlowerReply()));
  link.replies[171].push_back(Full(CalConstantsReply()));
  ConfigPanel panel = MarkedPanel();
  EXPECT_TRUE(ReadSettings(link, panel));

  EXPECT_EQ(link.SentCodes(), (std::vector<int>{168, 169, 170, 171}));
  for (const auto& c : link.sent) EXPECT_EQ(c.length, 0);
  EXPECT_EQ(panel.Tip3, "5");
  EXPECT_EQ(panel.Tip1, "0.98");
  EXPECT_EQ(panel.Tip2, "0.0");
  EXPECT_EQ(panel.Tip9, "1");
  EXPECT_EQ(panel.Tip10, "0.8");
  EXPECT_EQ(panel.TipL, (std::vector<std::string>{"30", "45", "90", "135", "150"}));
  EXPECT_EQ(panel.Offset1, "-0.37");
  EXPECT_EQ(panel.Offset2, "-0.85");
  EXPECT_EQ(panel.Offset3, "0.8");
  EXPECT_EQ(panel.Offset4, "-1.50");
  EXPECT_EQ(panel.BlRain, "0.80");
  EXPECT_EQ(panel.BlRH, "70.00");
  EXPECT_EQ(panel.BlSpeed, "30");
  EXPECT_EQ(panel.LastFCal, "2012/03/09 18:46") << "16 characters without a terminating zero";
  EXPECT_EQ(panel.LastUserCal, "2012") << "only the characters before the zero byte";
  EXPECT_EQ(panel.CFG_C1, "13.0");
  EXPECT_EQ(panel.CFG_C2, "unchanged") << "the rest of the constants reply is not shown";
  EXPECT_EQ(panel.CalIntParam, "unchanged");
  EXPECT_EQ(panel.NumberOfFreq, "unchanged");
  EXPECT_EQ(link.beeps, 0);
  EXPECT_TRUE(link.statusTexts.empty()) << "Read shows nothing in the status panel";
}

Reply Cut(const Bytes& b, int length) {
  return Reply{length, Bytes(b.begin(), b.begin() + std::min<std::size_t>(b.size(), length))};
}

TEST(SettingsRead, AShortReplyStopsWithTheErrorTone) {
  Bytes seventeen = TipReply();
  seventeen[0] = 17;
  const struct {
    const char* name;
    std::vector<Reply> replies;  // for 168, 169, 170, 171
    std::vector<int> sent;
    const char* tip3;
    const char* tip1;
    const char* offset1;
    const char* blRain;
  } cases[] = {
      {"no answer", {Reply{-1, {}}}, {168}, "unchanged", "unchanged", "unchanged", "unchanged"},
      {"16 bytes to 168", {Cut(TipReply(), 16)}, {168}, "unchanged", "unchanged", "unchanged", "unchanged"},
      {"count above 16", {Full(seventeen)}, {168}, "17", "unchanged", "unchanged", "unchanged"},
      {"fewer angles than the count",
       {Cut(TipReply(), 37)},
       {168},
       "5",
       "unchanged",
       "unchanged",
       "unchanged"},
      {"15 bytes to 169",
       {Full(TipReply()), Cut(CorrectionsReply(), 15)},
       {168, 169},
       "5",
       "0.98",
       "unchanged",
       "unchanged"},
      {"79 bytes to 170",
       {Full(TipReply()), Cut(CorrectionsReply(), 16), Cut(BlowerReply(), 79)},
       {168, 169, 170},
       "5",
       "0.98",
       "-0.37",
       "unchanged"},
      {"127 bytes to 171",
       {Full(TipReply()), Full(CorrectionsReply()), Full(BlowerReply()), Cut(CalConstantsReply(), 127)},
       {168, 169, 170, 171},
       "5",
       "0.98",
       "-0.37",
       "0.80"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    FakeInstrumentLink link;
    for (std::size_t i = 0; i < k.replies.size(); ++i)
      link.replies[static_cast<std::uint8_t>(168 + i)].push_back(k.replies[i]);
    ConfigPanel panel = MarkedPanel();
    EXPECT_FALSE(ReadSettings(link, panel));
    EXPECT_EQ(link.SentCodes(), k.sent);
    EXPECT_EQ(link.beeps, 1);
    EXPECT_EQ(panel.Tip3, k.tip3);
    EXPECT_EQ(panel.Tip1, k.tip1);
    EXPECT_EQ(panel.Offset1, k.offset1);
    EXPECT_EQ(panel.BlRain, k.blRain);
    EXPECT_EQ(panel.LastFCal, "unchanged");
  }
}

TEST(SettingsRead, ACountOfZeroNeedsOnlyTheFixedFields) {
  Bytes none(18, 0);
  none[2] = 0x00;
  none[3] = 0x00;
  none[4] = 0x80;
  none[5] = 0x3F;  // Tip1 = 1.0
  FakeInstrumentLink link;
  link.replies[168].push_back(Full(none));
  link.replies[169].push_back(Reply{-1, {}});
  ConfigPanel panel = MarkedPanel();
  EXPECT_FALSE(ReadSettings(link, panel));
  EXPECT_EQ(panel.Tip3, "0");
  EXPECT_EQ(panel.Tip1, "1.00");
  EXPECT_TRUE(panel.TipL.empty());
  EXPECT_EQ(link.SentCodes(), (std::vector<int>{168, 169}));
}

}  // namespace
}  // namespace varnok
