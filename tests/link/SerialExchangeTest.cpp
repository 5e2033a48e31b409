#include "link/SerialExchange.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "tests/link/LinkFakes.h"

namespace varnok {
namespace {

using test::Bytes;
using test::BytesOf;
using test::FakeSerialChannel;

struct Line {
  std::shared_ptr<FakeSerialChannel::Shared> peer = std::make_shared<FakeSerialChannel::Shared>();
  FakeSerialChannel port{peer};
  std::vector<std::string> banners;
  BannerDisplay banner = [this](const std::string& line) { banners.push_back(line); };

  // The instrument answers the first write with `bytes`.
  void AnswerWith(const Bytes& bytes) {
    peer->responder = [bytes, done = false](FakeSerialChannel::Shared& s, const Bytes&) mutable {
      if (!done) s.Queue(bytes);
      done = true;
    };
  }
};

TEST(SerialTextCommand, WritesCommandAndCarriageReturnAndCutsTheLastCharacter) {
  Line line;
  line.AnswerWith(BytesOf("abc\r\nOK\r\n"));
  std::array<char, 4096> reply{};
  EXPECT_EQ(SerialTextCommand(line.port, "status", reply.data(), line.banner), 8);
  EXPECT_EQ(std::string(reply.data()), "abc\r\nOK\r");
  ASSERT_EQ(line.peer->written.size(), 1u);
  EXPECT_EQ(line.peer->written[0], BytesOf("status\r"));
}

TEST(SerialTextCommand, RepliesEndAtEveryTerminatorAndKeepBanners) {
  const struct {
    const char* name;
    std::string incoming;
    std::string text;
    int result;
  } cases[] = {
      {"READY", "line 1\r\nREADY\r\nleft over", "line 1\r\nREADY\r", 14},
      {"NOK", "unknown\r\nNOK\r\n", "unknown\r\nNOK\r", 13},
      {"*** line", "*** no such command\r\nmore", "* no such command\r", 18},
      {"asterisk prefix", "* 12.5\r\nOK\r\n", "12.5\r\nOK\r", 9},
      {"banner stays", "Torvelmandra 3.2\r\nOK\r\n", "Torvelmandra 3.2\r\nOK\r", 21},
      {"OK only as a whole line", "OKAY\r\nOK\r\n", "OKAY\r\nOK\r", 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Line line;
    line.AnswerWith(BytesOf(c.incoming));
    std::array<char, 4096> reply{};
    EXPECT_EQ(SerialTextCommand(line.port, "x", reply.data(), line.banner), c.result);
    EXPECT_EQ(std::string(reply.data()), c.text);
  }
}

TEST(SerialTextCommand, BannerLineGoesToTheStatusBarWithItsLineEnd) {
  Line line;
  line.AnswerWith(BytesOf("Torvelmandra 3.2\r\nabc\r\nOK\r\n"));
  std::array<char, 4096> reply{};
  EXPECT_EQ(SerialTextCommand(line.port, "software", reply.data(), line.banner), 26);
  EXPECT_EQ(line.banners, std::vector<std::string>{"Torvelmandra 3.2\r\n"});
}

TEST(SerialTextCommand, ReplyThatStopsMidwayFails) {
  for (const char* partial : {"", "abc\r\nO", "abc\r\n"}) {
    Line line;
    line.AnswerWith(BytesOf(partial));
    std::array<char, 4096> reply{};
    EXPECT_EQ(SerialTextCommand(line.port, "status", reply.data(), line.banner), -1) << partial;
  }
}

TEST(SerialTextCommand, ReplyThatFillsTheBufferWithoutTerminatorFails) {
  // With and without line ends: the read ends once the buffer is full, and never spins.
  for (const std::string& unit : {std::string("x"), std::string("0123456789abcde\r\n")}) {
    Line line;
    std::string flood;
    while (flood.size() < 6000) flood += unit;
    line.AnswerWith(BytesOf(flood));
    std::array<char, 4096> reply{};
    EXPECT_EQ(SerialTextCommand(line.port, "dump", reply.data(), line.banner), -1);
    EXPECT_GT(line.peer->input.size(), 1000u) << "the read must stop at the buffer's end";
  }
}

TEST(SerialTextCommand, LeftoverInputIsNotTakenForTheReply) {
  Line line;
  line.peer->Queue(BytesOf("late\r\nOK\r\n"));
  line.AnswerWith(BytesOf("fresh\r\nOK\r\n"));
  std::array<char, 4096> reply{};
  EXPECT_EQ(SerialTextCommand(line.port, "status", reply.data(), line.banner), 10);
  EXPECT_EQ(std::string(reply.data()), "fresh\r\nOK\r");
}

TEST(SerialReadLine, StopsAtLineFeedRoomOrSilence) {
  Line line;
  line.peer->Queue(BytesOf("ab\ncdefgh"));
  char buffer[8];
  std::memset(buffer, 'Z', sizeof buffer);
  ASSERT_TRUE(SerialReadLine(buffer, 8, line.port));
  EXPECT_STREQ(buffer, "ab\n");
  ASSERT_TRUE(SerialReadLine(buffer, 4, line.port));
  EXPECT_STREQ(buffer, "cde");
  ASSERT_TRUE(SerialReadLine(buffer, 8, line.port));
  EXPECT_STREQ(buffer, "fgh");
  std::memset(buffer, 'Z', sizeof buffer);
  EXPECT_FALSE(SerialReadLine(buffer, 8, line.port));
  EXPECT_EQ(buffer[0], 'Z');
  line.peer->Queue(BytesOf("q"));
  EXPECT_FALSE(SerialReadLine(buffer, 1, line.port));
  EXPECT_FALSE(SerialReadLine(buffer, 0, line.port));
}

// The instrument's side of a frame exchange: it answers the request frame with `ack` and then the reply
// frame, and records our ACK / NAK.
void InstrumentAnswers(Line& line, Bytes ack, Bytes replyFrame) {
  line.peer->responder = [ack, replyFrame, n = 0](FakeSerialChannel::Shared& s, const Bytes&) mutable {
    if (n++ == 0) {
      s.Queue(ack);
      s.Queue(replyFrame);
    }
  };
}

TEST(SerialFrames, ModelQueryFrameAndEmptyReply) {
  Line line;
  InstrumentAnswers(line, {kAck}, {0x08, 0x80, 0x88});
  std::array<std::uint8_t, 1040> data{};
  EXPECT_EQ(SerialFramedTransaction(line.port, 0x80, 0, data.data()), 0);
  EXPECT_EQ(data[0], 0x88) << "the check byte follows the (empty) data";
  ASSERT_EQ(line.peer->written.size(), 2u);
  EXPECT_EQ(line.peer->written[0], (Bytes{0x08, 0x80, 0x88}));
  EXPECT_EQ(line.peer->written[1], (Bytes{kAck}));
}

TEST(SerialFrames, ReplyDataShortAndLong) {
  for (std::size_t n : {1u, 6u, 7u, 76u, 255u}) {
    Line line;
    Bytes payload(n);
    for (std::size_t i = 0; i < n; ++i) payload[i] = static_cast<std::uint8_t>(200 - i);
    InstrumentAnswers(line, {kAck}, BuildSerialFrame(1, 167, payload));
    std::array<std::uint8_t, 1040> data{};
    data[0] = 0;
    data[1] = 3;
    ASSERT_EQ(SerialFramedTransaction(line.port, 167, 2, data.data()), static_cast<int>(n));
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), data.begin()));
    EXPECT_EQ(line.peer->written[0], (Bytes{0x0A, 167, 0, 3, static_cast<std::uint8_t>(0x0A ^ 167 ^ 3)}));
    EXPECT_EQ(line.peer->written.back(), (Bytes{kAck}));
  }
}

TEST(SerialFrames, FailureValues) {
  const auto good = BuildSerialFrame(1, 141, Bytes{1, 2, 3, 4, 5, 6, 7, 8});
  auto badCheck = good;
  badCheck.back() ^= 0x01;
  const Bytes cut(good.begin(), good.begin() + 6);
  struct Case {
    const char* name;
    Bytes ack, reply;
    bool writeFails, readFails;
    int expected;
    bool nakSent;
  };
  const Case cases[] = {
      {"frame not written", {}, {}, true, false, kSerialNotWritten, false},
      {"no acknowledgement", {}, {}, false, false, kSerialNoBytes, false},
      {"acknowledgement read fails", {}, {}, false, true, kSerialReadFailed, false},
      {"NAK", {kNak}, {}, false, false, kSerialNak, false},
      {"neither ACK nor NAK", {0x41}, {}, false, false, kSerialNotAck, false},
      {"no reply frame", {kAck}, {}, false, false, kSerialNoBytes, false},
      {"two reply bytes", {kAck}, {0x08, 0x80}, false, false, kSerialNoBytes, false},
      {"reply read fails", {kAck}, {}, false, true, kSerialReadFailed, false},
      {"wrong check byte", {kAck}, badCheck, false, false, kSerialBadCheck, true},
      {"body stops short", {kAck}, cut, false, false, kSerialBadCheck, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Line line;
    InstrumentAnswers(line, c.ack, c.reply);
    line.peer->writeFails = c.writeFails;
    line.peer->readFails = c.readFails;
    std::array<std::uint8_t, 1040> data{};
    EXPECT_EQ(SerialFramedTransaction(line.port, 141, 0, data.data()), c.expected);
    if (c.nakSent) {
      EXPECT_EQ(line.peer->written.back(), (Bytes{kNak}));
    }
  }
}

TEST(SerialFrames, BodyCutShortIsNeverCompletedFromOldBufferBytes) {
  // The buffer still holds the very bytes that did not arrive: the frame must fail all the same.
  const auto good = BuildSerialFrame(1, 167, Bytes{10, 20, 30, 40, 50, 60, 70, 80});
  Line line;
  line.peer->Queue(Bytes(good.begin(), good.begin() + 6));
  std::array<std::uint8_t, 1040> data{};
  std::copy(good.begin() + 3, good.end(), data.begin());
  SerialFrameHeader header;
  EXPECT_EQ(SerialReadFrame(line.port, data.data(), header), kSerialBadCheck);
  EXPECT_EQ(line.peer->written.back(), (Bytes{kNak}));
}

TEST(SerialFrames, AcknowledgementThatCannotBeSentIsMinusOne) {
  Line line;
  line.peer->Queue({0x08, 0x80, 0x88});
  line.peer->writeFails = true;
  std::array<std::uint8_t, 1040> data{};
  SerialFrameHeader header;
  EXPECT_EQ(SerialReadFrame(line.port, data.data(), header), kSerialNotWritten);
}

TEST(SerialFrames, PendingInputIsDroppedBeforeTheFrame) {
  Line line;
  line.peer->Queue({kAck, 0x08, 0x80, 0x88});  // left over from an earlier exchange
  InstrumentAnswers(line, {kAck}, BuildSerialFrame(1, 141, Bytes{9, 9}));
  std::array<std::uint8_t, 1040> data{};
  EXPECT_EQ(SerialFramedTransaction(line.port, 141, 0, data.data()), 2);
  EXPECT_EQ(data[0], 9);
}

}  // namespace
}  // namespace varnok
