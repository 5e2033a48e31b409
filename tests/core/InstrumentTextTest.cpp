#include "core/InstrumentText.h"

#include <gtest/gtest.h>

#include <string>

namespace varnok {
namespace {

struct DecodeCase {
  std::string bytes;
  std::string utf8;
};

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, ReadsUtf8WhenValidElseWindows1252) {
  EXPECT_EQ(InstrumentTextToUtf8(GetParam().bytes), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeTest,
    ::testing::Values(DecodeCase{"Tamb 22\xC2\xB0"
                                 "C",
                                 "Tamb 22\xC2\xB0"
                                 "C"},  // UTF-8 degree sign kept
                      DecodeCase{"Tamb 22\xB0"
                                 "C",
                                 "Tamb 22\xC2\xB0"
                                 "C"},                                       // cp1252 degree sign
                      DecodeCase{"\x80 5", "\xE2\x82\xAC 5"},                // euro sign
                      DecodeCase{"\x93q\x94", "\xE2\x80\x9Cq\xE2\x80\x9D"},  // curly quotes
                      DecodeCase{"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
                      DecodeCase{"\xC0\xAF", "\xC3\x80\xC2\xAF"},  // overlong '/' is not UTF-8
                      DecodeCase{"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},  // a surrogate is not UTF-8
                      DecodeCase{"caf\xC3", "caf\xC3\x83"},                        // cut sequence
                      DecodeCase{"", ""}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return "Case" + std::to_string(info.index); });

TEST(InstrumentText, EncodesForTheInstrumentInWindows1252) {
  EXPECT_EQ(Utf8ToInstrumentText("22\xC2\xB0"
                                 "C \xE2\x82\xAC \xC5\xA0"),
            "22\xB0"
            "C \x80 \x8A");
  EXPECT_EQ(Utf8ToInstrumentText("\xE4\xB8\xAD"), "?");  // no Windows-1252 form
  EXPECT_EQ(Utf8ToInstrumentText("plain"), "plain");
}

TEST(InstrumentText, EveryWindows1252ByteSurvivesTheRoundTrip) {
  for (int b = 1; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(Utf8ToInstrumentText(InstrumentTextToUtf8(one)), one) << b;
  }
}

TEST(InstrumentText, CutsCountCharactersNotBytes) {
  EXPECT_EQ(FirstCharacters("\xC2\xB0\xC2\xB0\xC2\xB0", 2), "\xC2\xB0\xC2\xB0");
  EXPECT_EQ(FirstCharacters("ab", 5), "ab");
  EXPECT_EQ(FirstCharacters("a\xE2\x82\xAC"
                            "b",
                            2),
            "a\xE2\x82\xAC");
}

}  // namespace
}  // namespace varnok
