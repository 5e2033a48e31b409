#include "link/TunnelFrame.h"

#include <gtest/gtest.h>

#include "tests/link/LinkFakes.h"

namespace varnok {
namespace {

using test::Bytes;
using test::BytesOf;

TEST(TunnelFrame, FirstModelQueryAfterStartIsNineteenBytes) {
  TransactionCounter counter;
  const auto frame = BuildTunnelRequest(counter.Next(), 0, 128, {});
  const Bytes expected = {0x00, 0x01, 0x00, 0x00, 0x00, 0x0D, 0x00, 0x17, 0xFF, 0xFF,
                          0x00, 0x00, 0xFF, 0xFF, 0x00, 0x01, 0x00, 0x80, 0x00};
  EXPECT_EQ(frame, expected);
}

TEST(TunnelFrame, SecondTransactionCarriesStatusInTwentyFiveBytes) {
  TransactionCounter counter;
  counter.Next();
  const Bytes status = BytesOf("status");
  const auto frame = BuildTunnelRequest(counter.Next(), 0, 128, status);
  Bytes expected = {0x00, 0x02, 0x00, 0x00, 0x00, 0x13, 0x00, 0x17, 0xFF, 0xFF,
                    0x00, 0x00, 0xFF, 0xFF, 0x00, 0x04, 0x06, 0x80, 0x06};
  expected.insert(expected.end(), status.begin(), status.end());
  EXPECT_EQ(frame, expected);
}

TEST(TunnelFrame, LengthRegisterCountAndByteCountFollowTheDataLength) {
  struct Case {
    std::size_t n;
    unsigned lengthField;
    std::uint8_t registers;
  };
  const Case cases[] = {{0, 13, 1}, {1, 14, 2}, {6, 19, 4}, {7, 20, 5}, {254, 267, 128}, {255, 268, 129}};
  for (const auto& c : cases) {
    const Bytes data(c.n, 0x5A);
    const auto frame = BuildTunnelRequest(0x1234, 9, 132, data);
    SCOPED_TRACE(c.n);
    ASSERT_EQ(frame.size(), c.n + 19);
    EXPECT_EQ((frame[4] << 8) | frame[5], static_cast<int>(c.lengthField));
    EXPECT_EQ(frame[6], 9);
    EXPECT_EQ(frame[15], c.registers);
    EXPECT_EQ(frame[16], static_cast<std::uint8_t>(c.n));  // not n + 2
    EXPECT_EQ(frame[17], 132);
    EXPECT_EQ(frame[18], static_cast<std::uint8_t>(c.n));
    EXPECT_EQ(frame[0], 0x12);
    EXPECT_EQ(frame[1], 0x34);
  }
}

TEST(TunnelFrame, MoreThan255DataBytesAreRefused) {
  const Bytes data(256, 0);
  EXPECT_THROW(BuildTunnelRequest(1, 0, 128, data), std::length_error);
}

TEST(TunnelFrame, TransactionIdentifierWrapsAfter65535) {
  TransactionCounter counter;
  std::uint16_t last = 0;
  for (int i = 0; i < 65535; ++i) last = counter.Next();
  EXPECT_EQ(last, 65535);
  EXPECT_EQ(counter.Next(), 0);
  EXPECT_EQ(counter.Next(), 1);
}

Bytes Response(std::size_t size, std::uint16_t id, std::uint8_t lengthByte, std::uint8_t function = 0x17) {
  Bytes r(size, 0x33);
  if (size > 0) r[0] = static_cast<std::uint8_t>(id >> 8);
  if (size > 1) r[1] = static_cast<std::uint8_t>(id & 0xFF);
  if (size > 7) r[7] = function;
  if (size > 10) r[10] = lengthByte;
  return r;
}

// Sets the envelope's length field so that it announces `total` bytes.
Bytes Announced(Bytes r, std::size_t total) {
  r[4] = static_cast<std::uint8_t>((total - 6) >> 8);
  r[5] = static_cast<std::uint8_t>((total - 6) & 0xFF);
  return r;
}

TEST(TunnelFrame, JudgesResponses) {
  struct Case {
    const char* name;
    Bytes received;
    TunnelVerdict verdict;
    std::size_t length;
    std::size_t consumed;
  };
  const Case cases[] = {
      {"eleven bytes, empty reply", Response(11, 7, 0), TunnelVerdict::Complete, 0, 0},
      {"266 bytes take offset 10", Response(266, 7, 255), TunnelVerdict::Complete, 255, 0},
      {"266 bytes, shorter length byte", Response(266, 7, 20), TunnelVerdict::Complete, 20, 0},
      {"267 bytes ignore offset 10", Response(267, 7, 3), TunnelVerdict::Complete, 256, 0},
      {"largest response", Response(1037, 7, 0), TunnelVerdict::Complete, 1026, 0},
      {"exception, foreign identifier", Response(9, 99, 0, 0x97), TunnelVerdict::Exception, 0, 0},
      {"nothing yet", Bytes{}, TunnelVerdict::NeedMore, 0, 0},
      {"eight bytes", Response(8, 7, 0), TunnelVerdict::NeedMore, 0, 0},
      {"nine bytes", Response(9, 7, 0), TunnelVerdict::NeedMore, 0, 0},
      {"ten bytes", Response(10, 7, 0), TunnelVerdict::NeedMore, 0, 0},
      {"length promises more", Response(15, 7, 5), TunnelVerdict::NeedMore, 0, 0},
      {"earlier identifier", Response(14, 6, 3), TunnelVerdict::Foreign, 0, 14},
      {"earlier identifier, more behind", Response(40, 6, 3), TunnelVerdict::Foreign, 0, 14},
      {"long reply, first 266 bytes", Announced(Response(266, 7, 255), 300), TunnelVerdict::NeedMore, 0, 0},
      {"long reply, first 280 bytes", Announced(Response(280, 7, 255), 300), TunnelVerdict::NeedMore, 0, 0},
      {"long reply complete", Announced(Response(300, 7, 255), 300), TunnelVerdict::Complete, 289, 0},
      {"implausible announcement", Announced(Response(266, 7, 255), 2000), TunnelVerdict::Complete, 255, 0},
      {"announcement ignored below 255", Announced(Response(31, 7, 20), 300), TunnelVerdict::Complete, 20, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto j = JudgeTunnelResponse(c.received, 7);
    EXPECT_EQ(j.verdict, c.verdict);
    EXPECT_EQ(j.length, c.length);
    EXPECT_EQ(j.consumed, c.consumed);
  }
}

}  // namespace
}  // namespace varnok
