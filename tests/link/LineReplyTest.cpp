#include "link/LineReply.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnok {
namespace {

TEST(LineReply, TerminatorLines) {
  const struct {
    const char* line;
    bool terminator;
  } cases[] = {{"READY\r\n", true},   {"OK\r\n", true},    {"NOK\r\n", true},    {"***\r\n", true},
               {"*** error 4", true}, {"OK\n", false},     {"OK", false},        {" OK\r\n", false},
               {"OKAY\r\n", false},   {"** x\r\n", false}, {"ready\r\n", false}, {"", false}};
  for (const auto& c : cases) EXPECT_EQ(IsTerminatorLine(c.line), c.terminator) << c.line;
}

TEST(LineReply, BannerLines) {
  EXPECT_TRUE(IsBannerLine("Torvelmandra 2.1\r\n"));
  EXPECT_TRUE(IsBannerLine("Torvelmandra"));
  EXPECT_FALSE(IsBannerLine("Torvelmandr\r\n"));
  EXPECT_FALSE(IsBannerLine(" Torvelmandra\r\n"));
}

TEST(LineReply, FinishingTheReplyText) {
  const struct {
    std::string reply;
    std::string text;
    int result;
  } cases[] = {
      {"abc\r\nOK\r\n", "abc\r\nOK\r", 8},
      {"* abc\r\nOK\r\n", "abc\r\nOK\r", 8},
      {"*** error\r\n", "* error\r", 8},
      {"OK\r\n", "OK\r", 3},
      {"*x", "*", 1},  // two characters: no prefix removal
      {"x", "x", 0},   // one character: not cut
      {"", "", -1},
  };
  for (const auto& c : cases) {
    std::vector<char> out(c.reply.size() + 1, 'Z');
    EXPECT_EQ(FinishSerialTextReply(c.reply, out.data()), c.result) << c.reply;
    EXPECT_EQ(std::string(out.data()), c.text) << c.reply;
  }
}

}  // namespace
}  // namespace varnok
