#include "CalibrationFileReader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace varnok {
namespace {

using testing::TempFolder;

TEST(CalibrationFileReader, StreamingGivesTheSameSeriesAsTheWholeText) {
  std::string text = "1,0,31,-1,-2\r\n0,0,30,A,B\r\n";
  for (int i = 0; i < 500; ++i) {
    text += std::to_string(i) + ",0,31," + std::to_string(i * 0.25) + "," + (i % 3 ? "x" : "7") + "\r\n";
  }
  TempFolder folder;
  const auto file = folder.Write("a_ln2.csv", text);
  const CalibrationParseResult whole = ParseCalibrationText(text);
  for (std::size_t block : {std::size_t{1}, std::size_t{13}, std::size_t{1} << 20}) {
    const std::optional<CalibrationParseResult> streamed = ReadCalibrationFile(file, block);
    ASSERT_TRUE(streamed.has_value());
    ASSERT_EQ(streamed->ColumnCount(), 2u);
    for (std::size_t c = 0; c < 2; ++c) {
      EXPECT_EQ(streamed->series[c].title, whole.series[c].title);
      EXPECT_EQ(streamed->series[c].xs, whole.series[c].xs) << "block " << block;
      EXPECT_EQ(streamed->series[c].ys, whole.series[c].ys) << "block " << block;
    }
  }
  EXPECT_EQ(whole.series[0].size(), 501u);
  EXPECT_EQ(whole.series[1].size(), 168u);
}

TEST(CalibrationFileReader, MissingFilesAndFoldersCannotBeRead) {
  TempFolder folder;
  EXPECT_FALSE(ReadWholeFile(folder.Path() / "none.csv").has_value());
  EXPECT_FALSE(ReadWholeFile(folder.Path()).has_value());
  EXPECT_FALSE(ReadCalibrationFile(folder.Path() / "none.csv").has_value());
  EXPECT_FALSE(ReadCalibrationFile(folder.Path()).has_value());
  const auto empty = folder.Write("empty.csv", "");
  ASSERT_TRUE(ReadWholeFile(empty).has_value());
  EXPECT_EQ(*ReadWholeFile(empty), "");
}

TEST(CalibrationFileReader, ReadingIntoAnEarlierTextKeepsNothingOfIt) {
  TempFolder folder;
  const auto file = folder.Write("a_tip.csv", "0,0,30,A\r\n1,0,31,2\r\n");
  for (std::size_t earlier : {std::size_t{3}, std::size_t{100000}}) {
    EXPECT_EQ(ReadWholeFile(file, std::string(earlier, 'z')), "0,0,30,A\r\n1,0,31,2\r\n") << earlier;
  }
  EXPECT_EQ(ReadWholeFile(folder.Write("e.csv", ""), std::string(10, 'z')), "");
}

// A long file of wide lines whose fields take every road of the reader (short numbers read several
// characters at a time, near a line's or a block's end, or in full): whatever the lines hold and however
// the file arrives, the series must be those of reading the lines one by one.
TEST(CalibrationFileReader, LongWideFilesGiveTheSameSeriesAsLineByLine) {
  constexpr int kColumns = 23;
  const char* const fields[] = {"1.5", " -2.25 ", "", "word", "1..2", "-1.5e3", "\t7", "+", "12345678901234567.5",
                                "0", "x9", " ", "3.14159265358979"};
  std::mt19937 random(7);
  std::vector<std::string> lines = {"5,0, 31 ,-1,-2,-3", "0,0,30"};
  for (int c = 0; c < kColumns; ++c) lines[1] += ",T" + std::to_string(c);
  for (int i = 0; i < 3000; ++i) {
    const unsigned kind = random() % 20;
    std::string line = std::to_string(i - 40) + ",2026-12-09," + (kind == 0 ? "32" : kind == 1 ? " 31\t" : "31");
    // Most lines are full; some stop early, some carry more fields than there are columns.
    const int count = kind == 2 ? static_cast<int>(random() % kColumns) : kind == 3 ? kColumns + 4 : kColumns;
    for (int c = 0; c < count; ++c) line += std::string(",") + fields[random() % std::size(fields)];
    if (kind == 4) line = std::to_string(i) + ",0,31";  // no value fields
    lines.push_back(line);
  }
  const CalibrationParseResult expected = ParseCalibrationLines(lines);
  ASSERT_EQ(expected.ColumnCount(), static_cast<std::size_t>(kColumns));

  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  text.resize(text.size() - 2);  // the last line without its end
  TempFolder folder;
  const auto file = folder.Write("long_ln2.csv", text);
  std::vector<CalibrationParseResult> results;
  results.push_back(ParseCalibrationText(text));
  for (std::size_t block : {std::size_t{997}, std::size_t{65536}, std::size_t{1} << 20}) {
    std::optional<CalibrationParseResult> streamed = ReadCalibrationFile(file, block);
    ASSERT_TRUE(streamed.has_value());
    results.push_back(std::move(*streamed));
  }
  for (std::size_t r = 0; r < results.size(); ++r) {
    ASSERT_EQ(results[r].ColumnCount(), expected.ColumnCount()) << r;
    for (std::size_t c = 0; c < expected.ColumnCount(); ++c) {
      EXPECT_EQ(results[r].series[c].xs, expected.series[c].xs) << "result " << r << " column " << c;
      EXPECT_EQ(results[r].series[c].ys, expected.series[c].ys) << "result " << r << " column " << c;
    }
  }
  EXPECT_GT(expected.series[kColumns - 1].size(), 1500u);
}

}  // namespace
}  // namespace varnok
