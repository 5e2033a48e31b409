#include "calibration/CalibrationFileLoad.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "calibration/CalibrationFileReader.h"
#include "tests/support/TempFolder.h"

namespace varnok {
namespace {

using testing::TempFolder;

CalibrationLoadResult Load(const std::filesystem::path& file, CalibrationLoadOptions options = {}) {
  const std::atomic<bool> cancel{false};
  std::atomic<std::uint64_t> bytesRead{0};
  if (!options.availableMemory) options.availableMemory = [] { return std::uint64_t{1} << 40; };
  return LoadCalibrationFile(file, options, cancel, bytesRead);
}

void ExpectSamePoints(const CalibrationParseResult& got, const CalibrationParseResult& expected,
                      const std::string& what) {
  ASSERT_EQ(got.ColumnCount(), expected.ColumnCount()) << what;
  for (std::size_t c = 0; c < expected.ColumnCount(); ++c) {
    EXPECT_EQ(got.points.columns[c].title, expected.points.columns[c].title) << what;
    EXPECT_EQ(got.points.PointsOf(c), expected.points.PointsOf(c)) << what << " column " << c;
  }
}

TEST(CalibrationFileLoad, ChunkedReadingGivesTheSameSeriesAndTextAsTheWholeText) {
  std::string text = "1,0,31,-1,-2\r\n0,0,30,A,B\r\n";
  for (int i = 0; i < 500; ++i) {
    text += std::to_string(i) + ",0,31," + std::to_string(i * 0.25) + "," + (i % 3 ? "x" : "7") + "\r\n";
  }
  TempFolder folder;
  const auto file = folder.Write("a_ln2.csv", text);
  const CalibrationParseResult whole = ParseCalibrationText(text);
  for (std::size_t chunk : {std::size_t{1}, std::size_t{13}, std::size_t{1} << 20}) {
    CalibrationLoadOptions options;
    options.chunkBytes = chunk;
    const CalibrationLoadResult loaded = Load(file, options);
    ASSERT_EQ(loaded.end, LoadEnd::kRead);
    ExpectSamePoints(loaded.parse, whole, "chunk " + std::to_string(chunk));
    ASSERT_NE(loaded.text, nullptr);
    EXPECT_EQ(loaded.text->All(), text);
    EXPECT_EQ(loaded.text->LineCount(), 502u);
    EXPECT_EQ(loaded.text->Line(1), "0,0,30,A,B");
    EXPECT_EQ(loaded.fileBytes, text.size());
  }
  EXPECT_EQ(whole.points.PointsOf(0).size(), 501u);
  EXPECT_EQ(whole.points.PointsOf(1).size(), 168u);
}

TEST(CalibrationFileLoad, MissingFilesAndFoldersCannotBeRead) {
  TempFolder folder;
  EXPECT_FALSE(ReadWholeFile(folder.Path() / "none.csv").has_value());
  EXPECT_FALSE(ReadWholeFile(folder.Path()).has_value());
  EXPECT_EQ(Load(folder.Path() / "none.csv").end, LoadEnd::kUnreadable);
  EXPECT_EQ(Load(folder.Path()).end, LoadEnd::kUnreadable);
  const auto empty = folder.Write("empty.csv", "");
  ASSERT_TRUE(ReadWholeFile(empty).has_value());
  EXPECT_EQ(*ReadWholeFile(empty), "");
  const CalibrationLoadResult loaded = Load(empty);
  ASSERT_EQ(loaded.end, LoadEnd::kRead);
  EXPECT_FALSE(loaded.parse.headerFound);
  EXPECT_EQ(loaded.text->LineCount(), 0u);
}

// A file larger than the memory left is refused before a byte of it is read; one that fits is read
// even when it only just fits.
TEST(CalibrationFileLoad, AFileLargerThanTheMemoryLeftIsRefusedBeforeItIsRead) {
  TempFolder folder;
  const std::string text = "0,0,30,A\r\n1,0,31,2\r\n";
  const auto file = folder.Write("a_ln2.csv", text);
  struct Case {
    std::uint64_t available;
    LoadEnd end;
  } const cases[] = {
      {text.size() - 1, LoadEnd::kTooLarge}, {0, LoadEnd::kTooLarge}, {1u << 20, LoadEnd::kRead}};
  for (const Case& c : cases) {
    int chunks = 0;
    CalibrationLoadOptions options;
    options.availableMemory = [&c] { return c.available; };
    options.afterChunk = [&chunks](std::uint64_t) { ++chunks; };
    const CalibrationLoadResult loaded = Load(file, options);
    EXPECT_EQ(loaded.end, c.end) << c.available;
    EXPECT_EQ(loaded.fileBytes, text.size());
    EXPECT_EQ(loaded.availableBytes, c.available);
    if (c.end == LoadEnd::kTooLarge) {
      EXPECT_EQ(chunks, 0) << "nothing read";
      EXPECT_EQ(loaded.text, nullptr);
      EXPECT_EQ(loaded.parse.ColumnCount(), 0u);
    }
  }
}

TEST(CalibrationFileLoad, CancelStopsTheReadingBetweenChunks) {
  TempFolder folder;
  std::string text = "0,0,30,A\r\n";
  for (int i = 0; i < 20000; ++i) text += std::to_string(i) + ",0,31,1.5\r\n";
  const auto file = folder.Write("a_ln2.csv", text);
  std::atomic<bool> cancel{false};
  std::atomic<std::uint64_t> bytesRead{0};
  CalibrationLoadOptions options;
  options.chunkBytes = 4096;
  options.availableMemory = [] { return std::uint64_t{1} << 40; };
  int chunks = 0;
  options.afterChunk = [&](std::uint64_t) {
    if (++chunks == 3) cancel = true;
  };
  const CalibrationLoadResult loaded = LoadCalibrationFile(file, options, cancel, bytesRead);
  EXPECT_EQ(loaded.end, LoadEnd::kCancelled);
  EXPECT_EQ(chunks, 3);
  EXPECT_EQ(bytesRead, 3u * 4096);
  EXPECT_EQ(loaded.text, nullptr);
  EXPECT_EQ(loaded.parse.ColumnCount(), 0u);
}

// The text kept for the memo is the text read, whatever happens to the file afterwards: rewritten in
// place, cut short, appended to or removed.
TEST(CalibrationFileLoad, TheTextStaysAsReadWhenTheFileChangesOnDisk) {
  TempFolder folder;
  std::string text = "0,0,30,A,B\r\n";
  for (int i = 0; i < 3000; ++i) text += std::to_string(i) + ",0,31,1.5,2.5\n";
  const auto file = folder.Write("a_ln2.csv", text);
  const CalibrationLoadResult loaded = Load(file);
  ASSERT_EQ(loaded.end, LoadEnd::kRead);
  const auto change = [&file](std::ios::openmode mode, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | mode);
    out << bytes;
  };
  change(std::ios::in | std::ios::out, "9,9,99,ZZZZZZ");  // in place
  EXPECT_EQ(loaded.text->Line(0), "0,0,30,A,B");
  change(std::ios::app, "more,0,31,7,7\r\n");
  EXPECT_EQ(loaded.text->LineCount(), 3001u);
  change(std::ios::trunc, "short");
  EXPECT_EQ(loaded.text->Line(2999), "2998,0,31,1.5,2.5");
  std::filesystem::remove(file);
  EXPECT_EQ(loaded.text->All(), text);
}

// A long file of wide lines whose fields take every road of the reader (short numbers read several
// characters at a time, near a line's or a chunk's end, or in full): whatever the lines hold and however
// the file arrives, whether on one thread or split between two, the series must be those of reading the
// lines one by one.
TEST(CalibrationFileLoad, LongWideFilesGiveTheSameSeriesAsLineByLine) {
  constexpr int kColumns = 23;
  const char* const fields[] = {
      "1.5", " -2.25 ",         "", "word", "1..2", "-1.5e3", "\t7", "+", "12345678901234567.5", "0", "x9",
      " ",   "3.14159265358979"};
  std::mt19937 random(7);
  std::vector<std::string> lines = {"5,0, 31 ,-1,-2,-3", "0,0,30"};
  for (int c = 0; c < kColumns; ++c) lines[1] += ",T" + std::to_string(c);
  for (int i = 0; i < 3000; ++i) {
    const unsigned kind = random() % 20;
    std::string line = std::to_string(i - 40) + ",2026-12-09," +
                       (kind == 0   ? "32"
                        : kind == 1 ? " 31\t"
                                    : "31");
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
  ExpectSamePoints(ParseCalibrationText(text), expected, "whole text");
  for (std::size_t chunk : {std::size_t{997}, std::size_t{65536}, std::size_t{1} << 20}) {
    for (std::size_t twoThreadsFrom : {std::size_t{0}, std::size_t{500}, std::size_t{1} << 16}) {
      CalibrationLoadOptions options;
      options.chunkBytes = chunk;
      options.twoThreadsFrom = twoThreadsFrom;
      const CalibrationLoadResult loaded = Load(file, options);
      ASSERT_EQ(loaded.end, LoadEnd::kRead);
      ExpectSamePoints(
          loaded.parse, expected,
          "chunk " + std::to_string(chunk) + ", two threads from " + std::to_string(twoThreadsFrom));
      EXPECT_EQ(loaded.text->LineCount(), lines.size());
    }
  }
  EXPECT_GT(expected.points.PointsOf(kColumns - 1).size(), 1500u);
}

TEST(ByteSizeText, SizesForPeople) {
  struct Case {
    std::uint64_t bytes;
    const char* text;
  } const cases[] = {{0, "0 bytes"},     {999, "999 bytes"},      {1000, "1.0 KB"},
                     {12345, "12.3 KB"}, {338200000, "338.2 MB"}, {1500000000, "1.5 GB"}};
  for (const Case& c : cases) EXPECT_EQ(ByteSizeText(c.bytes), c.text) << c.bytes;
  EXPECT_EQ(TooLargeText(338200000, 120500000), "Too large: 338.2 MB, memory available 120.5 MB");
}

}  // namespace
}  // namespace varnok
