#include <gtest/gtest.h>

#include <map>

#include "tests/monitor/MonitorLink.h"
#include "core/TextConversions.h"
#include "link/CommandCodes.h"
#include "monitor/ClockText.h"
#include "monitor/ReadingText.h"
#include "monitor/StatusGridLayout.h"
#include "monitor/StatusPoll.h"

namespace varnok {
namespace {

using testing::FloatBytes;
using testing::MonitorLink;

std::vector<std::uint8_t> Clock(std::uint8_t f1, std::uint8_t f2, std::uint8_t f3, std::uint8_t f4,
                                std::uint8_t f5, std::uint8_t f6) {
  return {0xEE, f1, f2, f3, f4, f5, f6};
}

std::map<int, std::string> Rows(const std::vector<StatusCell>& cells) {
  std::map<int, std::string> rows;
  for (const StatusCell& cell : cells) rows[cell.row] = cell.text;
  return rows;
}

TEST(ClockText, FormatsTheSixSignedFields) {
  struct Case {
    std::vector<std::uint8_t> reply;
    std::string text;
  } cases[] = {
      {Clock(3, 15, 13, 8, 4, 0), "03/15/2013  08:04:00  UTC"},
      {Clock(12, 7, 12, 14, 5, 9), "12/07/2012  14:05:09  UTC"},
      {Clock(1, 2, 200, 3, 4, 5), "01/02/1944  03:04:05  UTC"},  // byte 200 is -56
      {Clock(200, 2, 0, 3, 4, 255), "-56/02/2000  03:04:-1  UTC"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClockText(c.reply), c.text);
  }
}

TEST(ClockText, NeedsSevenBytes) {
  std::vector<std::uint8_t> reply = Clock(3, 15, 13, 8, 4, 0);
  reply.pop_back();
  EXPECT_EQ(ClockText(reply), std::nullopt);
  EXPECT_EQ(ClockText({}), std::nullopt);
}

TEST(ReadingText, TwoDecimalsAndTheUnit) {
  const std::vector<std::uint8_t> reply = FloatBytes({301.456f, 1013.25f, -3.1f, 0.0f});
  EXPECT_EQ(ReadingText(reply, 0, " K"), "301.46 K");
  EXPECT_EQ(ReadingText(reply, 1, " mbar"), "1013.25 mbar");
  EXPECT_EQ(ReadingText(reply, 2, " C"), "-3.10 C");
  EXPECT_EQ(ReadingText(reply, 3, " %"), "0.00 %");
  EXPECT_EQ(ReadingText(reply, 4, " V"), std::nullopt);  // beyond the reply
  EXPECT_EQ(ReadingText(std::span(reply).first(15), 3, " %"), std::nullopt);
}

TEST(StatusGridLayout, LabelsSplitBackWhole) {
  EXPECT_EQ(SplitCommaList(StatusGridHeaderList()), (std::vector<std::string>{"Mesurement", "Value"}));
  const std::vector<std::string> labels = SplitCommaList(StatusGridLabelList());
  ASSERT_EQ(labels.size(), static_cast<std::size_t>(kStatusGridRows));
  EXPECT_EQ(labels[0], "Mesurement");
  EXPECT_EQ(labels[2], "Output File(s);");
  EXPECT_EQ(labels[4], "Error Status:");
  EXPECT_EQ(labels[5], "Rcvr0 TkND:");
  EXPECT_EQ(labels[13], "LN2 Calibration");
  EXPECT_EQ(labels[14], "TIP Calibration:");
}

// A (200, 60) reply whose values 7, 17 and 26 are the rain, TkBB and pressure readings.
std::vector<std::uint8_t> HousekeepingBlock(std::size_t bytes = 240) {
  std::vector<float> values(60, 0.0f);
  values[7] = 1.5f;
  values[17] = 301.456f;
  values[26] = 1013.25f;
  std::vector<std::uint8_t> reply = FloatBytes(values);
  reply.resize(bytes);
  return reply;
}

TEST(StatusPoll, NotConnectedSendsNothing) {
  MonitorLink link;
  link.connected = false;
  EXPECT_TRUE(PollStatus(link).empty());
  EXPECT_TRUE(link.sent.empty());
}

TEST(StatusPoll, FourExchangesWithTheirRequests) {
  MonitorLink link;
  link.Answer(Clock(3, 15, 13, 8, 4, 0));
  link.Answer(HousekeepingBlock());
  link.Answer(FloatBytes({45.0f, -3.1f, 0, 0}));
  link.Answer(FloatBytes({280.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  const std::vector<StatusCell> cells = PollStatus(link);

  ASSERT_EQ(link.sent.size(), 4u);
  EXPECT_EQ(link.sent[0].code, cmd::kReadClock);
  EXPECT_EQ(link.sent[0].length, 0);
  const std::vector<std::uint8_t> requests[] = {{200, 0, 60, 0}, {0x90, 0x01, 4, 0}, {0x2C, 0x01, 10, 0}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(link.sent[i + 1].code, cmd::kReadValueBlock);
    EXPECT_EQ(link.sent[i + 1].payload, requests[i]) << "block " << i;
  }

  const std::vector<StatusCell> expected = {{1, "03/15/2013  08:04:00  UTC"},
                                            {3, "Stopped"},
                                            {4, "OK"},
                                            {5, "303.1 K"},
                                            {6, "304.2 K"},
                                            {7, "301.46 K"},
                                            {10, "1013.25 mbar"},
                                            {12, "1.50 V"},
                                            {8, "-3.10 C"},
                                            {9, "45.00 %"},
                                            {11, "280.00 K"}};
  EXPECT_EQ(cells, expected);
}

TEST(StatusPoll, ClockFailingWhileBlocksSucceed) {
  MonitorLink link;
  link.Fail();
  link.Answer(HousekeepingBlock());
  link.Answer(FloatBytes({45.0f, -3.1f, 0, 0}));
  link.Answer(FloatBytes({280.0f}));
  const std::map<int, std::string> rows = Rows(PollStatus(link));
  EXPECT_EQ(link.sent.size(), 4u);
  for (int row : {1, 3, 4, 5, 6}) EXPECT_FALSE(rows.contains(row)) << row;
  EXPECT_EQ(rows.at(8), "-3.10 C");
  EXPECT_EQ(rows.at(10), "1013.25 mbar");
  EXPECT_EQ(rows.at(11), "280.00 K");
}

TEST(StatusPoll, OnlyTheClockSucceeding) {
  MonitorLink link;
  link.Answer(Clock(12, 7, 12, 14, 5, 9));
  link.Fail();
  link.Fail(0);
  link.Fail(-3);
  const std::map<int, std::string> rows = Rows(PollStatus(link));
  EXPECT_EQ(link.sent.size(), 4u);
  EXPECT_EQ(
      rows,
      (std::map<int, std::string>{
          {1, "12/07/2012  14:05:09  UTC"}, {3, "Stopped"}, {4, "OK"}, {5, "303.1 K"}, {6, "304.2 K"}}));
}

TEST(StatusPoll, OneByteBlockRepliesFailTwoBytesSucceed) {
  // One byte is a failure; two bytes are a success that holds no whole value, so nothing is written
  // either way, and nothing beyond the reply is read.
  for (std::size_t size : {1u, 2u, 3u}) {
    MonitorLink link;
    link.Fail();
    link.Answer(std::vector<std::uint8_t>(size, 0));
    link.Answer(std::vector<std::uint8_t>(size, 0));
    link.Answer(std::vector<std::uint8_t>(size, 0));
    EXPECT_TRUE(PollStatus(link).empty()) << size << " bytes";
    EXPECT_EQ(link.sent.size(), 4u);
  }
}

TEST(StatusPoll, ShortRepliesFillOnlyTheValuesTheyHold) {
  struct Case {
    std::size_t blockBytes;    // of the (200, 60) reply
    std::size_t ambientBytes;  // of the (400, 4) reply
    std::size_t clockBytes;
    std::map<int, std::string> rows;
  } cases[] = {
      // Values 7 and 17 are inside 100 bytes, value 26 (bytes 104..107) is not.
      {100,
       8,
       7,
       {{1, "03/15/2013  08:04:00  UTC"},
        {3, "Stopped"},
        {4, "OK"},
        {5, "303.1 K"},
        {6, "304.2 K"},
        {7, "301.46 K"},
        {12, "1.50 V"},
        {8, "-3.10 C"},
        {9, "45.00 %"}}},
      // A six-byte clock reply counts as success but cannot fill the clock text.
      {108,
       4,
       6,
       {{3, "Stopped"},
        {4, "OK"},
        {5, "303.1 K"},
        {6, "304.2 K"},
        {7, "301.46 K"},
        {10, "1013.25 mbar"},
        {12, "1.50 V"},
        {9, "45.00 %"}}},
      {31, 7, 1, {{3, "Stopped"}, {4, "OK"}, {5, "303.1 K"}, {6, "304.2 K"}, {9, "45.00 %"}}},
  };
  for (const Case& c : cases) {
    MonitorLink link;
    std::vector<std::uint8_t> clock = Clock(3, 15, 13, 8, 4, 0);
    clock.resize(c.clockBytes);
    std::vector<std::uint8_t> ambient = FloatBytes({45.0f, -3.1f, 0, 0});
    ambient.resize(c.ambientBytes);
    link.Answer(clock);
    link.Answer(HousekeepingBlock(c.blockBytes));
    link.Answer(ambient);
    link.Fail();
    EXPECT_EQ(Rows(PollStatus(link)), c.rows) << c.blockBytes << "/" << c.ambientBytes << "/" << c.clockBytes;
  }
}

}  // namespace
}  // namespace varnok
