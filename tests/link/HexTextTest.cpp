#include "tools/varnok-cmd/HexText.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

TEST(HexText, ReadsDataInCommonSpellings) {
  using B = std::vector<std::uint8_t>;
  EXPECT_EQ(ParseHexData(""), B{});
  EXPECT_EQ(ParseHexData("0A1b"), (B{0x0A, 0x1B}));
  EXPECT_EQ(ParseHexData("00 00 3c 00"), (B{0, 0, 0x3C, 0}));
  EXPECT_EQ(ParseHexData("ff:80-01"), (B{0xFF, 0x80, 0x01}));
  for (const char* bad : {"0", "abc", "0g", "0x10"}) EXPECT_FALSE(ParseHexData(bad)) << bad;
}

TEST(HexText, PrintsUpperCasePairs) {
  EXPECT_EQ(FormatHex({}), "");
  EXPECT_EQ(FormatHex({0x08, 0x80, 0x88, 0x0F}), "08 80 88 0F");
}

TEST(HexText, CommandCodes) {
  EXPECT_EQ(ParseCommandCode("141"), 141);
  EXPECT_EQ(ParseCommandCode("0x84"), 132);
  EXPECT_EQ(ParseCommandCode("0"), 0);
  EXPECT_EQ(ParseCommandCode("255"), 255);
  for (const char* bad : {"", "256", "-1", "12a", "0x", "x84"}) EXPECT_FALSE(ParseCommandCode(bad)) << bad;
}

}  // namespace
}  // namespace varnok
