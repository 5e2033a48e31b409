#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/AppError.h"
#include "core/TextConversions.h"

namespace varnok {
namespace {

using List = std::vector<std::string>;

// Runs each test under a fixed regional separator and restores the locale's afterwards.
class SeparatorGuard {
 public:
  explicit SeparatorGuard(char separator) { SetDecimalSeparatorForTesting(separator); }
  ~SeparatorGuard() { SetDecimalSeparatorForTesting('\0'); }
};

struct SplitCase {
  std::string text;
  List expected;
};

TEST(SplitCommaList, Cases) {
  const SplitCase cases[] = {
      {"Login,Email,Role,Created", {"Login", "Email", "Role", "Created"}},
      {"a,b,", {"a", "b", ""}},
      {"\"x y\",z", {"x y", "z"}},
      {" 22.000,0,275.0,.000140, 32860,18.0", {"22.000", "0", "275.0", ".000140", "32860", "18.0"}},
      {"status line", {"status", "line"}},
      {"", {}},
      {"   \t ", {}},
      {"\"\"", {""}},
      {",", {"", ""}},
      {"a,,b", {"a", "", "b"}},
      {"a, ", {"a"}},  // the comma is not the last character: no empty entry
      {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
      {"\"open ended", {"open ended"}},
      {"\"a\"b", {"a", "b"}},
      {"COM1,\"my host, north\"", {"COM1", "my host, north"}},
      {"caf\xC3\xA9,x", {"caf\xC3\xA9", "x"}},  // bytes above 127 are ordinary characters
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitCommaList(c.text), c.expected) << "text: [" << c.text << "]";
  }
}

TEST(SplitCommaList, ZeroByteEndsTheList) {
  const SplitCase cases[] = {
      {std::string("a,b\0c,d", 7), {"a", "b"}},
      {std::string("a,\0", 3), {"a", ""}},
      {std::string("\"quo\0ted\",x", 11), {"quo"}},
      {std::string("\0abc", 4), {}},
      {std::string(" \0 a", 4), {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitCommaList(c.text), c.expected) << "size " << c.text.size();
  }
}

struct JoinCase {
  List list;
  std::string expected;
};

TEST(JoinCommaList, CasesAndRoundTrip) {
  const JoinCase cases[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"COM1", "lab host"}, "COM1,\"lab host\""},
      {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
      {{"a,b", "c"}, "\"a,b\",c"},
      {{"a", "", "b"}, "a,,b"},
      {{"a", ""}, "a,"},
      {{"", ""}, ","},
      {{"", "a"}, ",a"},
      {{"tab\there"}, "\"tab\there\""},
      {{"192.168.1.50", "COM1"}, "192.168.1.50,COM1"},
  };
  for (const auto& c : cases) {
    const std::string joined = JoinCommaList(c.list);
    EXPECT_EQ(joined, c.expected);
    EXPECT_EQ(SplitCommaList(joined), c.list) << "joined: [" << joined << "]";
  }
}

struct NumberCase {
  std::string text;
  double expected;
};

TEST(ParseNumberText, AcceptsUnderFullStopSettings) {
  SeparatorGuard guard('.');
  const NumberCase cases[] = {
      {" 6.08e-6 ", 6.08e-6}, {".90", 0.9}, {"-3.5", -3.5}, {"+2", 2.0},     {"1E3", 1000.0}, {"5.", 5.0},
      {"1e+2", 100.0},        {"0", 0.0},   {"\t7\t", 7.0}, {"1e-400", 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(ParseNumberText(c.text), c.expected) << c.text;
  }
}

TEST(ParseNumberText, RefusesWithItsMessage) {
  SeparatorGuard guard('.');
  const std::string cases[] = {"",    "  ",  "1,5", "0.5 s", ".",   "-",   "e5",    "1e",
                               "1e+", "abc", "$1F", "1.2.3", "inf", "nan", "1e400", "- 1"};
  for (const auto& text : cases) {
    try {
      ParseNumberText(text);
      ADD_FAILURE() << "accepted [" << text << "]";
    } catch (const AppError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid floating point value");
    }
  }
}

TEST(ParseNumberText, CommaSettingsAcceptBothSeparators) {
  SeparatorGuard guard(',');
  EXPECT_DOUBLE_EQ(ParseNumberText("1,5"), 1.5);
  EXPECT_DOUBLE_EQ(ParseNumberText("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(ParseNumberText(",25"), 0.25);
  EXPECT_THROW(ParseNumberText("1,5.2"), AppError);
}

struct IntegerCase {
  std::string text;
  std::int32_t expected;
};

TEST(ParseIntegerText, Accepts) {
  const IntegerCase cases[] = {
      {" -12", -12},
      {"$1F", 31},
      {"0x1f", 31},
      {"0X10", 16},
      {"x10", 16},
      {"X10", 16},
      {"-$10", -16},
      {"+7", 7},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"$7FFFFFFF", 2147483647},
      {"0", 0},
      {"007", 7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseIntegerText(c.text), c.expected) << c.text;
  }
}

TEST(ParseIntegerText, RefusesWithItsMessage) {
  const std::string cases[] = {
      "",          "5 ",  "1.0", "2147483648", "-2147483649", "$",   "0x",
      "$FFFFFFFF", "12a", "- 1", "$G",         "+",           "1e3", "99999999999999999999"};
  for (const auto& text : cases) {
    try {
      ParseIntegerText(text);
      ADD_FAILURE() << "accepted [" << text << "]";
    } catch (const AppError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid integer value");
    }
  }
}

struct FormatCase {
  double value;
  int precision;
  int decimals;
  std::string expected;
};

TEST(FormatFixed, Cases) {
  SeparatorGuard guard('.');
  const FormatCase cases[] = {
      {static_cast<double>(0.98f), 6, 2, "0.98"},
      {30, 6, 0, "30"},
      {0, 6, 1, "0.0"},
      {1013.25, 9, 2, "1013.25"},
      {-3.1, 9, 2, "-3.10"},
      {1234567, 6, 2, "1.23457E6"},
      {1000000, 6, 2, "1E6"},
      {-1234567, 6, 0, "-1.23457E6"},
      {999999.6, 6, 0, "1E6"},      // rounding adds an integer digit
      {123456, 6, 2, "123456.00"},  // precision limits the digits, not the decimals
      {1.23456789, 4, 6, "1.235000"},
      {0.0001234, 2, 6, "0.000120"},
      {2.5, 6, 0, "3"},        // halves round away from zero
      {-0.001, 6, 2, "0.00"},  // no sign on a value that rounds to zero
      {-0.0, 6, 1, "0.0"},
      {0.5, 1, 3, "0.500"},  // precision below 2 counts as 2
      {12.5, 0, 1, "13.0"},  // ... so 12.5 keeps two digits, and one decimal is written
      {1.0 / 3.0, 30, 20, "0.333333333333333315"},  // precision 18 and decimals 18 at most
      {5, 6, -3, "5"},
      {123.456, 6, 1, "123.5"},
      {9.996, 3, 2, "10.00"},
      {1e20, 18, 0, "1E20"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFixed(c.value, c.precision, c.decimals), c.expected)
        << c.value << " (" << c.precision << ", " << c.decimals << ")";
  }
}

TEST(FormatFixed, ValuesNextToTheLargestDoubleReadBack) {
  SeparatorGuard guard('.');
  const FormatCase cases[] = {
      {1.75e308, 2, 2, "1.7E308"},
      {-1.75e308, 2, 2, "-1.7E308"},
      {std::numeric_limits<double>::max(), 6, 0, "1.79769E308"},
      {std::numeric_limits<double>::max(), 2, 0, "1.7E308"},
      {9.99e307, 2, 0, "1E308"},  // rounding up stays a number here
      {1.5e308, 2, 0, "1.5E308"},
  };
  for (const auto& c : cases) {
    const std::string text = FormatFixed(c.value, c.precision, c.decimals);
    EXPECT_EQ(text, c.expected) << c.value << " (" << c.precision << ")";
    EXPECT_TRUE(std::isfinite(ParseNumberText(text))) << text;
  }
}

TEST(FormatFixed, NotANumberAndInfinities) {
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 6, 2), "NAN");
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 6, 2), "INF");
  EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 6, 2), "-INF");
}

TEST(FormatFixed, UsesTheRegionalSeparator) {
  SeparatorGuard guard(',');
  EXPECT_EQ(FormatFixed(-3.1, 9, 2), "-3,10");
  EXPECT_EQ(FormatFixed(1234567, 6, 2), "1,23457E6");
  EXPECT_EQ(FormatFixed(30, 6, 0), "30");
  EXPECT_DOUBLE_EQ(ParseNumberText(FormatFixed(2.75, 6, 2)), 2.75);
}

TEST(ErrorDisplayText, FullStopRule) {
  const std::pair<std::string, std::string> cases[] = {
      {"Unable to write to /x/y.INI", "Unable to write to /x/y.INI."},
      {"'abc' is not a valid integer value", "'abc' is not a valid integer value."},
      {"count 5", "count 5."},
      {"Done.", "Done."},
      {"Stop!", "Stop!"},
      {"(see above)", "(see above)"},
      {"file 'a'", "file 'a'"},  // "'" sorts before "."
      {"", ""},
  };
  for (const auto& [message, expected] : cases) {
    EXPECT_EQ(ErrorDisplayText(message), expected);
  }
}

}  // namespace
}  // namespace varnok
