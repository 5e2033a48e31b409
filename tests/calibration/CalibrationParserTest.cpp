#include "CalibrationParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "CalibrationNumber.h"
#include "CsvField.h"
#include "LineSplitter.h"

namespace varnok {
namespace {

std::vector<double> Xs(const CalibrationSeries& s) { return s.xs; }
std::vector<double> Ys(const CalibrationSeries& s) { return s.ys; }

TEST(ParseCalibrationLines, TitlesEndAtTheFirstEmptyHeaderField) {
  const CalibrationParseResult result =
      ParseCalibrationLines({"0,0,30,Tamb,Tcold,,Ignored", "5,0,31,1.5,2.5,9,9"});
  ASSERT_TRUE(result.headerFound);
  ASSERT_EQ(result.ColumnCount(), 2u);
  EXPECT_TRUE(result.columnsEndedAtEmptyField);
  EXPECT_EQ(result.series[0].title, "Tamb");
  EXPECT_EQ(result.series[1].title, "Tcold");
  EXPECT_EQ(Ys(result.series[0]), std::vector<double>{1.5});
  EXPECT_EQ(Ys(result.series[1]), std::vector<double>{2.5});
}

TEST(ParseCalibrationLines, HeaderTypeMustBeExactlyThirtyAndTitlesStayUntrimmed) {
  EXPECT_FALSE(ParseCalibrationLines({"0,0, 30,A", "0,0,30 ,A", "1,0,31,2"}).headerFound);
  const CalibrationParseResult result = ParseCalibrationLines({"0,0, 30,Wrong", "0,0,30, T b ,C"});
  ASSERT_EQ(result.ColumnCount(), 2u);
  EXPECT_EQ(result.series[0].title, " T b ");
  // Only the first header counts.
  EXPECT_EQ(ParseCalibrationLines({"0,0,30,First", "0,0,30,Second,Third"}).series[0].title, "First");
}

TEST(ParseCalibrationLines, DataLinesAllowBlanksAroundThirtyOneAndAnyPlace) {
  const CalibrationParseResult result = ParseCalibrationLines({
      "3,x, 31 ,30.5",      // above the header, blanks around the type
      "0,0,30,T",
      "4,x,31\t,40.5",
      "5,x,32,99",          // another record type
      "6,x,3 1,99",
      "7,x,31,70.5",
  });
  ASSERT_EQ(result.ColumnCount(), 1u);
  EXPECT_EQ(Xs(result.series[0]), (std::vector<double>{3, 4, 7}));
  EXPECT_EQ(Ys(result.series[0]), (std::vector<double>{30.5, 40.5, 70.5}));
}

TEST(ParseCalibrationLines, EmptyAndLetterLedValuesGiveNoPointOtherNonNumbersZero) {
  const CalibrationParseResult result = ParseCalibrationLines({
      "0,0,30,A,B,C,D,E,F",
      "17,t,31,250.5,word,,1..2,-1.5e3, 8 ",
      "18,t,31,  ,z1,1,#,.,+",
  });
  ASSERT_EQ(result.ColumnCount(), 6u);
  const auto& s = result.series;
  EXPECT_EQ(Xs(s[0]), std::vector<double>{17});
  EXPECT_EQ(Ys(s[0]), std::vector<double>{250.5});
  EXPECT_EQ(PointLabel(s[0].xs[0]), "17");
  EXPECT_TRUE(s[1].xs.empty());  // "word", "z1"
  EXPECT_EQ(Ys(s[2]), std::vector<double>{1.0});  // empty on line 17
  EXPECT_EQ(Ys(s[3]), (std::vector<double>{0.0, 0.0}));  // "1..2" and "#" plot at 0.0
  EXPECT_EQ(Ys(s[4]), (std::vector<double>{-1500.0, 0.0}));  // "." is not a number
  EXPECT_EQ(Ys(s[5]), (std::vector<double>{8.0, 0.0}));  // blanks trimmed; "+" is not a number
}

TEST(ParseCalibrationLines, HorizontalValueIsTheIntegerBeginningTheLine) {
  const CalibrationParseResult result = ParseCalibrationLines({
      "0,0,30,T",
      "abc,0,31,1",
      " -25 s,0,31,2",
      "12.9,0,31,3",
  });
  ASSERT_EQ(result.ColumnCount(), 1u);
  EXPECT_EQ(Xs(result.series[0]), (std::vector<double>{0, -25, 12}));
  EXPECT_EQ(PointLabel(result.series[0].xs[1]), "-25");
}

TEST(ParseCalibrationLines, AtMostOneHundredColumns) {
  std::string header = "0,0,30";
  std::string data = "1,0,31";
  for (int k = 0; k < 120; ++k) {
    header += ",T" + std::to_string(k);
    data += "," + std::to_string(k);
  }
  const CalibrationParseResult result = ParseCalibrationLines({header, data});
  ASSERT_EQ(result.ColumnCount(), 100u);
  EXPECT_FALSE(result.columnsEndedAtEmptyField);
  EXPECT_EQ(result.series[99].title, "T99");
  EXPECT_EQ(Ys(result.series[99]), std::vector<double>{99});

  // Exactly 99 titles end at an empty field.
  std::string header99 = "0,0,30";
  for (int k = 0; k < 99; ++k) header99 += ",T";
  EXPECT_TRUE(ParseCalibrationLines({header99}).columnsEndedAtEmptyField);
}

TEST(ParseCalibrationLines, HeaderWithoutTitlesAndFilesWithoutHeader) {
  const CalibrationParseResult noTitles = ParseCalibrationLines({"0,0,30", "1,0,31,5"});
  EXPECT_TRUE(noTitles.headerFound);
  EXPECT_EQ(noTitles.ColumnCount(), 0u);
  EXPECT_TRUE(noTitles.columnsEndedAtEmptyField);

  for (const std::vector<std::string>& lines :
       {std::vector<std::string>{}, std::vector<std::string>{"1,0,31,5", "x"}}) {
    const CalibrationParseResult none = ParseCalibrationLines(lines);
    EXPECT_FALSE(none.headerFound);
    EXPECT_EQ(none.ColumnCount(), 0u);
  }
}

TEST(ParseCalibrationLines, ReadsOnlyTheFirst4096CharactersOfALine) {
  // The second value starts beyond the limit and is lost; the first is cut to its first digits.
  std::string data = "1,0,31," + std::string(kMaxLineLength - 7 - 2, '0') + "12345,77";
  const CalibrationParseResult result = ParseCalibrationLines({"0,0,30,A,B", data});
  ASSERT_EQ(result.ColumnCount(), 2u);
  EXPECT_EQ(Ys(result.series[0]), std::vector<double>{12});
  EXPECT_TRUE(result.series[1].xs.empty());
  // The same through the text reader.
  const CalibrationParseResult fromText = ParseCalibrationText("0,0,30,A,B\r\n" + data + "\r\n");
  EXPECT_EQ(Ys(fromText.series[0]), std::vector<double>{12});
  EXPECT_TRUE(fromText.series[1].xs.empty());
}

TEST(ParseCalibrationText, ReusedStorageGivesTheSameSeriesAsFreshMemory) {
  const std::string text = "9,0,31,-9,-8,-7\r\n0,0,30,A,B,C\r\n1,0,31,1.5,,3\r\n2,0,31,2.5,x,4\r\n";
  const CalibrationParseResult fresh = ParseCalibrationText(text);
  std::vector<CalibrationSeries> spare;
  for (int k = 0; k < 5; ++k) spare.push_back({"stale", std::vector<double>(1000, 7.0), std::vector<double>(1000, 8.0)});
  for (std::size_t spareCount : {std::size_t{5}, std::size_t{1}}) {
    spare.resize(spareCount);
    const CalibrationParseResult reused = ParseCalibrationText(text, spare);
    ASSERT_EQ(reused.ColumnCount(), 3u);
    for (std::size_t c = 0; c < 3; ++c) {
      EXPECT_EQ(reused.series[c].title, fresh.series[c].title);
      EXPECT_EQ(reused.series[c].xs, fresh.series[c].xs) << c;
      EXPECT_EQ(reused.series[c].ys, fresh.series[c].ys) << c;
    }
  }
  EXPECT_EQ(fresh.series[1].ys, std::vector<double>{-8});
}

// Every field reads to the value of its trimmed text, whatever its form: plain fixed-point numbers take a
// quicker road than the rest, and both must agree bit for bit.
TEST(ParseCalibrationLines, EveryFieldFormReadsLikeItsTrimmedText) {
  std::mt19937 random(11);
  const char* const pads[] = {"", " ", "\t", "  \x7f"};
  const char* const formats[] = {"%.0f", "%.3f", "%.7f", "%.15f", "%.2e", "%.17g", "%+.4f"};
  std::uniform_real_distribution<double> magnitude(-8, 8);
  std::string header = "0,0,30";
  std::string data = "5,0,31";
  std::vector<std::string> fields;
  for (int k = 0; k < 100; ++k) {
    char number[64];
    const double value = std::pow(10.0, magnitude(random)) * (k % 2 ? -1 : 1);
    std::snprintf(number, sizeof number, formats[k % 7], value);
    std::string field = std::string(pads[k % 4]) + number + pads[(k / 4) % 4];
    if (k % 13 == 0) field = " 1.2.3 ";
    if (k % 17 == 0) field = "12345678901234567.5";
    header += ",C" + std::to_string(k);
    data += "," + field;
    fields.push_back(field);
  }
  const CalibrationParseResult result = ParseCalibrationLines({header, data});
  ASSERT_EQ(result.ColumnCount(), 100u);
  for (std::size_t k = 0; k < 100; ++k) {
    const double expected = ReadCalibrationValue(TrimBlanksAndControls(fields[k])).value_or(0.0);
    ASSERT_EQ(result.series[k].ys.size(), 1u) << fields[k];
    EXPECT_EQ(result.series[k].ys[0], expected) << "'" << fields[k] << "'";
  }
}

// Short fixed-point numbers are read several characters at a time: every count of digits before and after
// the full stop, with the characters just beside the digits ('/' and ':'), must read bit for bit like
// the general reader, whether the field stands in the middle or at the end of a line.
TEST(ParseCalibrationLines, ShortNumbersOfEveryLengthReadLikeTheGeneralReader) {
  std::mt19937 random(5);
  const char* const signs[] = {"", "-", "+"};
  const char* const tails[] = {"", " ", "/", ":", "0:", "e1", "."};
  std::vector<std::string> fields;
  for (int whole = 0; whole <= 10; ++whole) {
    for (int fraction = -1; fraction <= 10; ++fraction) {  // -1: no full stop
      for (int variant = 0; variant < 6; ++variant) {
        std::string field = signs[variant % 3];
        for (int d = 0; d < whole; ++d) field += static_cast<char>('0' + (variant == 5 && d == 0 ? 0 : random() % 10));
        if (fraction >= 0) field += '.';
        for (int d = 0; d < fraction; ++d) field += static_cast<char>('0' + random() % 10);
        field += tails[(whole + fraction + variant + 7) % 7 == 0 ? 1 + variant % 6 : 0];
        fields.push_back(field);
      }
    }
  }
  std::string header = "0,0,30";
  for (std::size_t k = 0; k < kMaxCalibrationColumns; ++k) header += ",C";
  // The fields in lines of 100, so that each is read once in the middle of a line and once at its end.
  for (std::size_t first = 0; first < fields.size(); first += kMaxCalibrationColumns) {
    for (std::size_t shift : {std::size_t{1}, std::size_t{0}}) {
      std::vector<std::string> lineFields;
      std::string data = "1,0,31";
      for (std::size_t k = 0; k < kMaxCalibrationColumns; ++k) {
        const std::size_t at = first + (k + shift) % kMaxCalibrationColumns;
        lineFields.push_back(at < fields.size() ? fields[at] : std::string("1"));
        data += "," + lineFields.back();
      }
      const CalibrationParseResult result = ParseCalibrationLines({header, data});
      ASSERT_EQ(result.ColumnCount(), kMaxCalibrationColumns);
      for (std::size_t k = 0; k < kMaxCalibrationColumns; ++k) {
        const std::string& field = lineFields[k];
        const std::string_view trimmed = TrimBlanksAndControls(field);
        if (trimmed.empty() || (trimmed[0] >= 'a' && trimmed[0] <= 'z')) {
          EXPECT_TRUE(result.series[k].ys.empty()) << "'" << field << "'";
          continue;
        }
        ASSERT_EQ(result.series[k].ys.size(), 1u) << "'" << field << "'";
        const double expected = ReadCalibrationValue(trimmed).value_or(0.0);
        EXPECT_EQ(std::memcmp(&result.series[k].ys[0], &expected, sizeof expected), 0)
            << "'" << field << "' read as " << result.series[k].ys[0] << ", expected " << expected;
      }
    }
  }
}

TEST(ParseCalibrationText, AcceptsEveryLineEnd) {
  const CalibrationParseResult result =
      ParseCalibrationText("0,0,30,T\r1,0,31,1\n2,0,31,2\r\n3,0,31,3\r\n\r\n4,0,31,4");
  ASSERT_EQ(result.ColumnCount(), 1u);
  EXPECT_EQ(Xs(result.series[0]), (std::vector<double>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace varnok
