#include "console/ReplyLog.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace varnok {
namespace {

TEST(ReplyLog, ErrorLineCarriesTheSignedCode) {
  EXPECT_EQ(ErrorLogLine(-1), "Error -1");
  EXPECT_EQ(ErrorLogLine(0), "Error 0");
  EXPECT_EQ(ErrorLogLine(-6), "Error -6");
  EXPECT_EQ(ErrorLogLine(INT_MIN), "Error -2147483648");
}

TEST(ReplyLog, LineBreaksSplitTheReplyIntoLines) {
  struct Case {
    const char* reply;
    const char* logged;
  } cases[] = {
      {"OK", "OK"},
      {"line1\r\nline2\r\n", "line1\nline2"},
      {"a\nb\n", "a\nb"},
      {"a\rb", "a\nb"},
      {"a\r\n\r\nb", "a\n\nb"},
      {"\r\n", ""},
      {"a\n\n", "a\n"},  // only the one final line end is dropped
  };
  for (const Case& c : cases) EXPECT_EQ(ReplyLogText(c.reply), c.logged) << c.reply;
}

TEST(ReplyLog, ReplyTextStopsAtZeroResultAndBuffer) {
  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  std::memcpy(buffer, "abc\0def", 7);
  EXPECT_EQ(ReplyTextOf(buffer, 7, sizeof buffer), "abc");
  EXPECT_EQ(ReplyTextOf(buffer, 2, sizeof buffer), "ab");
  EXPECT_EQ(ReplyTextOf(buffer, 0, sizeof buffer), "");
  std::memset(buffer, 'x', sizeof buffer);  // no zero at all, result beyond the buffer
  EXPECT_EQ(ReplyTextOf(buffer, 1000, sizeof buffer).size(), sizeof buffer - 1);
}

}  // namespace
}  // namespace varnok
