#include "calibration/LineIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calibration/MemoText.h"

namespace varnok {
namespace {

// Every way the text can arrive in blocks gives the same lines, CR LF pairs split between blocks
// included.
TEST(LineIndex, SameLinesWhateverTheBlockSize) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  } const cases[] = {
      {"a,b\r\ncd\nef\rgh\r\r\n\nlast", {"a,b", "cd", "ef", "gh", "", "", "last"}},
      {"\nx\r\n", {"", "x"}},
      {"\r\n\r\n", {"", ""}},
      {"x\r", {"x"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    for (std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{3}, c.text.size() + 1}) {
      LineIndex index;
      for (std::size_t at = 0; at < c.text.size(); at += block)
        index.Feed(std::string_view(c.text).substr(at, block));
      index.Finish();
      // The memo's lines from the same index over the same bytes.
      const MemoText whole(c.text);
      std::vector<std::string> lines;
      for (std::size_t i = 0; i < whole.LineCount(); ++i) lines.push_back(whole.Line(i));
      EXPECT_EQ(lines, c.lines) << "'" << c.text << "'";
      LineIndex once;
      once.Feed(c.text);
      once.Finish();
      ASSERT_EQ(index.LineCount(), c.lines.size()) << "'" << c.text << "' block " << block;
      ASSERT_EQ(once.LineCount(), c.lines.size());
      for (std::size_t i = 0; i < index.LineCount(); ++i) {
        EXPECT_EQ(index.Start(i), once.Start(i)) << "'" << c.text << "' line " << i << " block " << block;
        EXPECT_EQ(index.End(i), once.End(i)) << "'" << c.text << "' line " << i << " block " << block;
      }
      EXPECT_EQ(index.TextSize(), c.text.size());
    }
  }
  const MemoText memo("abc\r\nlonger line\r\n");
  EXPECT_EQ(memo.LongestLine(), 11u);
  EXPECT_EQ(memo.Line(1, 4), "long");
}

}  // namespace
}  // namespace varnok
