#include "calibration/LineSplitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnok {
namespace {

std::vector<std::string> SplitInBlocks(const std::string& text, std::size_t blockSize) {
  std::vector<std::string> lines;
  const auto onLine = [&lines](std::string_view line) { lines.emplace_back(line); };
  LineSplitter splitter;
  for (std::size_t at = 0; at < text.size(); at += blockSize) {
    splitter.Feed(std::string_view(text).substr(at, blockSize), onLine);
  }
  splitter.Finish(onLine);
  return lines;
}

// Every block size must give the lines of the whole text, including pairs and lines cut at block edges.
TEST(LineSplitter, SameLinesWhateverTheBlockSize) {
  const std::string longLine(kMaxLineLength + 50, 'L');
  const std::string text = "a,b\r\ncd\nef\rgh\r\r\n\n" + longLine + "\r\nlast";
  const std::vector<std::string> expected = {
      "a,b", "cd", "ef", "gh", "", "", longLine.substr(0, kMaxLineLength), "last"};
  for (std::size_t blockSize :
       {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, std::size_t{4096}, text.size()}) {
    EXPECT_EQ(SplitInBlocks(text, blockSize), expected) << "block size " << blockSize;
  }
}

TEST(LineSplitter, NoExtraLineAfterAFinalLineEnd) {
  EXPECT_EQ(SplitInBlocks("x\r\n", 2), std::vector<std::string>{"x"});
  EXPECT_EQ(SplitInBlocks("x\r", 1), std::vector<std::string>{"x"});
  EXPECT_TRUE(SplitInBlocks("", 1).empty());
}

}  // namespace
}  // namespace varnok
