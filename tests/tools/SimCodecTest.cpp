// The simulator's own decoding of tunnel requests and serial frames.
#include <gtest/gtest.h>

#include "tools/varnok-sim/SerialCodec.h"
#include "tests/tools/SimTestClients.h"
#include "tools/varnok-sim/TunnelCodec.h"

namespace varnok::sim {
namespace {

using testing::Bytes;

TEST(SimTunnelCodec, DecodesTheConsolesRequests) {
  // The model query and a text command, byte for byte as the console sends them.
  const Bytes model = {0x00, 0x01, 0x00, 0x00, 0x00, 0x0D, 0x00, 0x17, 0xFF, 0xFF,
                       0x00, 0x00, 0xFF, 0xFF, 0x00, 0x01, 0x00, 0x80, 0x00};
  auto r = DecodeTunnelRequest(model);
  ASSERT_TRUE(r.request);
  EXPECT_EQ(r.request->transactionId, 1);
  EXPECT_EQ(r.request->code, 0x80);
  EXPECT_TRUE(r.request->data.empty());
  EXPECT_EQ(TunnelRequestSize(model), 19u);

  Bytes status = {0x00, 0x02, 0x00, 0x00, 0x00, 0x13, 0x05, 0x17, 0xFF, 0xFF, 0x00, 0x00, 0xFF,
                  0xFF, 0x00, 0x04, 0x06, 0x80, 0x06, 's',  't',  'a',  't',  'u',  's'};
  r = DecodeTunnelRequest(status);
  ASSERT_TRUE(r.request);
  EXPECT_EQ(r.request->transactionId, 2);
  EXPECT_EQ(r.request->unit, 5);
  EXPECT_EQ(testing::ToText(r.request->data), "status");

  const Bytes longest = testing::TunnelRequestBytes(0xFFFF, 0, 7, Bytes(255, 0xAB));
  ASSERT_EQ(longest.size(), 274u);
  r = DecodeTunnelRequest(longest);
  ASSERT_TRUE(r.request);
  EXPECT_EQ(r.request->data.size(), 255u);
}

TEST(SimTunnelCodec, RefusesMalformedRequests) {
  struct Case {
    const char* what;
    std::size_t offset;
    std::uint8_t value;
    std::uint8_t exception;
  };
  const Case cases[] = {
      {"function 16 instead of 23", 7, 0x10, kIllegalFunction},
      {"read address not 0xFFFF", 9, 0x00, kIllegalAddress},
      {"write address not 0xFFFF", 12, 0x00, kIllegalAddress},
      {"protocol not 0", 3, 0x01, kIllegalValue},
      {"something to read", 11, 0x01, kIllegalValue},
      {"Modbus byte count n + 2", 16, 0x08, kIllegalValue},
      {"register count off by one", 15, 0x05, kIllegalValue},
      {"command length above the data", 18, 0x07, kIllegalValue},
  };
  const Bytes good = testing::TunnelRequestBytes(9, 0, 128, testing::ToBytes("status"));
  for (const auto& c : cases) {
    Bytes bad = good;
    bad[c.offset] = c.value;
    const auto r = DecodeTunnelRequest(bad);
    EXPECT_FALSE(r.request) << c.what;
    EXPECT_EQ(r.exceptionCode, c.exception) << c.what;
  }
}

TEST(SimTunnelCodec, BuildsResponsesWithTheReplyLengthAtOffsetTen) {
  const Bytes reply = {1, 2, 3};
  const Bytes r = BuildTunnelResponse(0x1234, 7, reply);
  const Bytes expected = {0x12, 0x34, 0, 0, 0, 8, 7, 0x17, 5, 0, 3, 1, 2, 3};
  EXPECT_EQ(r, expected);

  // Above 255 bytes only the response's size tells the length; offset 10 cannot.
  const Bytes big(600, 'x');
  const Bytes rb = BuildTunnelResponse(1, 0, big);
  ASSERT_EQ(rb.size(), 611u);
  EXPECT_EQ((rb[4] << 8) | rb[5], 605);
  EXPECT_EQ(Bytes(rb.begin() + 11, rb.end()), big);

  const Bytes e = BuildTunnelException(0x0102, 0, 0x17, 4);
  EXPECT_EQ(e, (Bytes{0x01, 0x02, 0, 0, 0, 3, 0, 0x97, 4}));
}

TEST(SimSerialCodec, BuildsShortAndLongFrames) {
  EXPECT_EQ(BuildSerialFrame(1, 0x80, {}), (Bytes{0x08, 0x80, 0x88}));
  const Bytes six(6, 0);
  const Bytes f6 = BuildSerialFrame(1, 3, six);
  EXPECT_EQ(f6.size(), 9u);
  EXPECT_EQ(f6[0], 0x0E);
  const Bytes seven = {1, 2, 3, 4, 5, 6, 7};
  const Bytes f7 = BuildSerialFrame(1, 4, seven);
  ASSERT_EQ(f7.size(), 11u);
  EXPECT_EQ(f7[0], 0x0F);
  EXPECT_EQ(f7[2], 0x07);
  std::uint8_t x = 0;
  for (auto b : f7) x ^= b;
  EXPECT_EQ(x, 0);
}

TEST(SimSerialCodec, SplitsTheLineIntoFramesAndTextLines) {
  SerialInput input;
  std::vector<SerialMessage> out;
  Bytes stream = {kAck, kNak};  // acknowledgements of earlier reply frames
  const Bytes model = testing::FrameBytes(0x80, {});
  const Bytes row = testing::FrameBytes(167, {3, 0});
  const Bytes big = testing::FrameBytes(7, Bytes(78, 0x41));
  for (const Bytes* f : {&model, &row, &big}) stream.insert(stream.end(), f->begin(), f->end());
  for (char c : std::string("status\r")) stream.push_back(static_cast<std::uint8_t>(c));
  Bytes corrupt = testing::FrameBytes(141, {});
  corrupt.back() ^= 1;
  stream.insert(stream.end(), corrupt.begin(), corrupt.end());

  // Byte by byte, as a slow line would deliver it.
  for (auto b : stream) input.Feed(std::span(&b, 1), out);
  ASSERT_EQ(out.size(), 5u);
  EXPECT_EQ(out[0].raw, model);
  EXPECT_TRUE(out[0].checkOk);
  EXPECT_EQ(out[1].code, 167);
  EXPECT_EQ(out[1].data, (Bytes{3, 0}));
  EXPECT_EQ(out[2].data.size(), 78u);
  EXPECT_TRUE(out[2].checkOk);
  EXPECT_EQ(out[3].kind, SerialMessage::Kind::kLine);
  EXPECT_EQ(out[3].text, "status");
  EXPECT_EQ(out[4].kind, SerialMessage::Kind::kFrame);
  EXPECT_FALSE(out[4].checkOk);
  EXPECT_FALSE(input.HasPartial());
}

TEST(SimSerialCodec, ForgetsAnAbandonedFrame) {
  SerialInput input;
  std::vector<SerialMessage> out;
  const Bytes head = {0x0F, 7, 78, 0, 0};  // a long frame that stops after its header
  input.Feed(head, out);
  EXPECT_TRUE(input.HasPartial());
  input.DropPartial();
  input.Feed(testing::FrameBytes(141, {}), out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].code, 141);
  EXPECT_TRUE(out[0].checkOk);
}

}  // namespace
}  // namespace varnok::sim
