#include "link/SerialFrame.h"

#include <gtest/gtest.h>

#include "tests/link/LinkFakes.h"

namespace varnok {
namespace {

using test::Bytes;

TEST(SerialFrame, ModelQueryIsThreeBytes) {
  EXPECT_EQ(BuildSerialFrame(1, 0x80, {}), (Bytes{0x08, 0x80, 0x88}));
}

TEST(SerialFrame, ShortAndLongForms) {
  struct Case {
    std::size_t n;
    std::uint8_t header;
    std::size_t size;
  };
  const Case cases[] = {{0, 0x08, 3}, {1, 0x09, 4}, {6, 0x0E, 9}, {7, 0x0F, 11}, {255, 0x0F, 259}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    Bytes data(c.n);
    for (std::size_t i = 0; i < c.n; ++i) data[i] = static_cast<std::uint8_t>(i * 37 + 1);
    const auto frame = BuildSerialFrame(1, 141, data);
    ASSERT_EQ(frame.size(), c.size);
    EXPECT_EQ(frame[0], c.header);
    EXPECT_EQ(frame[1], 141);
    const std::size_t dataAt = c.n >= 7 ? 3 : 2;
    if (c.n >= 7) {
      EXPECT_EQ(frame[2], c.n);
    }
    EXPECT_TRUE(std::equal(data.begin(), data.end(), frame.begin() + static_cast<long>(dataAt)));
    EXPECT_EQ(XorCheck(frame), 0) << "the check byte makes the XOR of the whole frame zero";
  }
}

TEST(SerialFrame, HeaderTellsAddressCodeLengthAndWhatIsLeft) {
  struct Case {
    Bytes first;
    std::uint8_t address, code, length;
    bool longForm;
    std::size_t remaining;
  };
  const Case cases[] = {
      {{0x08, 0x80, 0x88}, 1, 0x80, 0, false, 0},
      {{0x0E, 0x03, 0x41}, 1, 0x03, 6, false, 6},
      {{0x0F, 0xA7, 0x07}, 1, 0xA7, 7, true, 8},
      {{0x17, 0x01, 0xFF}, 2, 0x01, 255, true, 256},
  };
  for (const auto& c : cases) {
    const auto h = ParseSerialFrameHeader(c.first.data());
    EXPECT_EQ(h.address, c.address);
    EXPECT_EQ(h.code, c.code);
    EXPECT_EQ(h.length, c.length);
    EXPECT_EQ(h.longForm, c.longForm);
    EXPECT_EQ(h.remaining, c.remaining);
  }
}

}  // namespace
}  // namespace varnok
