#include "calibration/CalibrationNumber.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string_view>
#include <limits>
#include <locale>

namespace varnok {
namespace {

TEST(ReadLeadingInteger, ReadsSignAndDigitsUpToTheFirstOtherCharacter) {
  struct Case {
    const char* line;
    std::int64_t x;
  } const cases[] = {
      {"17,a,31", 17},
      {"  -42,x", -42},
      {"+8,x", 8},
      {"12ab,", 12},
      {"abc,1,31", 0},
      {",1,31", 0},
      {"-,1,31", 0},
      {"  ,1", 0},
      {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
      {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
      {"99999999999999999999999", std::numeric_limits<std::int64_t>::max()},
      {"-99999999999999999999999", std::numeric_limits<std::int64_t>::min()},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadLeadingInteger(c.line), c.x) << c.line;
}

TEST(ReadCalibrationValue, ReadsDecimalNumbersExactly) {
  struct Case {
    const char* text;
    double value;
  } const cases[] = {
      {"250.5", 250.5},
      {"-1.5e3", -1500.0},
      {"+2", 2.0},
      {"77.3125", 77.3125},
      {"0.1", 0.1},
      {".5", 0.5},
      {"5.", 5.0},
      {"1E+05", 1e5},
      {"-0.000123", -0.000123},
      {"3.14159265358979323846264", 3.14159265358979323846264},  // more digits than a double holds
      {"123456789012345678901234", 123456789012345678901234.0},
      {"2.5e-3", 2.5e-3},
      {"1e-400", 0.0},
  };
  for (const Case& c : cases) {
    const std::optional<double> value = ReadCalibrationValue(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_EQ(*value, c.value) << c.text;  // exact: the same double the general conversion gives
  }
}

TEST(ReadCalibrationValue, RefusesWhatIsNotANumber) {
  for (const char* text :
       {"1..2", "1,5", "1e", "1e+", "-", "+", ".", "", "1 2", "0x10", "-inf", "-nan", "12a", "1e999"}) {
    EXPECT_FALSE(ReadCalibrationValue(text).has_value()) << text;
  }
}

// The reader gives, bit for bit, the double the standard library's general conversion gives, for every
// form of number: short and long, fixed and with exponents, near the ends of the double range.
TEST(ReadCalibrationValue, AgreesBitForBitWithTheStandardConversion) {
  std::mt19937_64 random(3);
  const char* const formats[] = {"%.0f", "%.2f", "%.3f", "%.5f", "%.17g", "%.25f", "%.3e", "%.16e"};
  std::uniform_real_distribution<double> exponent(-300, 300);
  int compared = 0;
  for (int i = 0; i < 200000; ++i) {
    const double value = std::pow(10.0, i % 3 == 0 ? exponent(random) : std::fmod(exponent(random), 8.0)) *
                         (random() % 2 ? -1 : 1);
    char text[512];
    std::snprintf(text, sizeof text, formats[i % std::size(formats)], value);
    const std::string_view number(text);
    double expected = 0;
    const auto [ptr, ec] =
        std::from_chars(number.data() + (number[0] == '-'), number.data() + number.size(), expected);
    if (ec != std::errc() || ptr != number.data() + number.size()) continue;
    if (number[0] == '-') expected = -expected;
    const std::optional<double> got = ReadCalibrationValue(number);
    ASSERT_TRUE(got.has_value()) << text;
    ASSERT_EQ(std::memcmp(&*got, &expected, sizeof expected), 0) << text << " read as " << *got;
    ++compared;
  }
  EXPECT_GT(compared, 190000);
}

// A user whose locale writes decimals with a comma still gets the file's values: the comma separates
// fields there, so a locale-bound reader would turn every fractional value into 0.0.
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(ReadCalibrationValue, IgnoresTheLocalesDecimalSeparator) {
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
  const std::optional<double> value = ReadCalibrationValue("250.5");
  const std::optional<double> comma = ReadCalibrationValue("250,5");
  std::locale::global(previous);
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(*value, 250.5);
  EXPECT_FALSE(comma.has_value());
}

}  // namespace
}  // namespace varnok
