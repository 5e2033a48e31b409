#include "CalibrationFileReader.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace varnok
