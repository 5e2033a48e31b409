#include "calibration/CsvField.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

TEST(CsvField, TakesFieldsBetweenCommasUnchanged) {
  struct Case {
    const char* line;
    int n;
    const char* field;
  } const cases[] = {
      {"17,a,31,250.5", 0, "17"},
      {"17,a,31,250.5", 2, "31"},
      {"17,a,31,250.5", 3, "250.5"},
      {"17,a, 31 ,x", 2, " 31 "},  // blanks belong to the field
      {"1,,,4", 1, ""},            // adjacent commas give an empty field
      {"1,,,4", 3, "4"},
      {"1,2", 2, ""},  // fewer fields than asked for
      {"", 0, ""},
      {"a,b,", 2, ""},          // a trailing comma opens an empty last field
      {"\"x,y\",z", 1, "y\""},  // no quoting: the comma inside quotes separates
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CsvField(c.line, c.n), c.field) << c.line << " field " << c.n;
  }
}

TEST(CsvField, TrimRemovesBlanksAndControlsAtBothEndsOnly) {
  EXPECT_EQ(TrimBlanksAndControls(" \t31\r "), "31");
  EXPECT_EQ(TrimBlanksAndControls(" 1 2 "), "1 2");
  EXPECT_EQ(TrimBlanksAndControls("\x01\x7f"), "");
}

}  // namespace
}  // namespace varnok
