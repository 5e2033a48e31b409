#include "calibration/CalibrationParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "calibration/CalibrationNumber.h"
#include "calibration/CalibrationChunkParser.h"
#include "calibration/CsvField.h"
#include "calibration/LineSplitter.h"

namespace varnok {
namespace {

// Column m's points, split into their horizontal and vertical values.
std::vector<double> Xs(const CalibrationParseResult& r, std::size_t m) {
  std::vector<double> xs;
  for (const auto& [x, y] : r.points.PointsOf(m)) xs.push_back(x);
  return xs;
}
std::vector<double> Ys(const CalibrationParseResult& r, std::size_t m) {
  std::vector<double> ys;
  for (const auto& [x, y] : r.points.PointsOf(m)) ys.push_back(y);
  return ys;
}
const std::string& Title(const CalibrationParseResult& r, std::size_t m) {
  return r.points.columns.at(m).title;
}

// The same lines read both ways: one by one, and as one text in which a long comment line follows the
// data, so that the text reader may look well past each data line's end (as it does inside a file) and
// reads the fields many characters at a time.
std::vector<CalibrationParseResult> ReadBothWays(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  text += "0,0,10," + std::string(100, 'c') + "\r\n";
  std::vector<CalibrationParseResult> results;
  results.push_back(ParseCalibrationLines(lines));
  results.push_back(ParseCalibrationText(text));
  return results;
}

TEST(ParseCalibrationLines, TitlesEndAtTheFirstEmptyHeaderField) {
  const CalibrationParseResult result =
      ParseCalibrationLines({"0,0,30,Tamb,Tcold,,Ignored", "5,0,31,1.5,2.5,9,9"});
  ASSERT_TRUE(result.headerFound);
  ASSERT_EQ(result.ColumnCount(), 2u);
  EXPECT_TRUE(result.columnsEndedAtEmptyField);
  EXPECT_EQ(Title(result, 0), "Tamb");
  EXPECT_EQ(Title(result, 1), "Tcold");
  EXPECT_EQ(Ys(result, 0), std::vector<double>{1.5});
  EXPECT_EQ(Ys(result, 1), std::vector<double>{2.5});
}

TEST(ParseCalibrationLines, HeaderTypeMustBeExactlyThirtyAndTitlesStayUntrimmed) {
  EXPECT_FALSE(ParseCalibrationLines({"0,0, 30,A", "0,0,30 ,A", "1,0,31,2"}).headerFound);
  const CalibrationParseResult result = ParseCalibrationLines({"0,0, 30,Wrong", "0,0,30, T b ,C"});
  ASSERT_EQ(result.ColumnCount(), 2u);
  EXPECT_EQ(Title(result, 0), " T b ");
  // Only the first header counts.
  EXPECT_EQ(Title(ParseCalibrationLines({"0,0,30,First", "0,0,30,Second,Third"}), 0), "First");
}

TEST(ParseCalibrationLines, DataLinesAllowBlanksAroundThirtyOneAndAnyPlace) {
  const CalibrationParseResult result = ParseCalibrationLines({
      "3,x, 31 ,30.5",  // above the header, blanks around the type
      "0,0,30,T",
      "4,x,31\t,40.5",
      "5,x,32,99",  // another record type
      "6,x,3 1,99",
      "7,x,31,70.5",
  });
  ASSERT_EQ(result.ColumnCount(), 1u);
  EXPECT_EQ(Xs(result, 0), (std::vector<double>{3, 4, 7}));
  EXPECT_EQ(Ys(result, 0), (std::vector<double>{30.5, 40.5, 70.5}));
}

TEST(ParseCalibrationLines, EmptyAndLetterLedValuesGiveNoPointOtherNonNumbersZero) {
  const CalibrationParseResult result = ParseCalibrationLines({
      "0,0,30,A,B,C,D,E,F",
      "17,t,31,250.5,word,,1..2,-1.5e3, 8 ",
      "18,t,31,  ,z1,1,#,.,+",
  });
  ASSERT_EQ(result.ColumnCount(), 6u);
  const CalibrationParseResult& s = result;
  EXPECT_EQ(Xs(s, 0), std::vector<double>{17});
  EXPECT_EQ(Ys(s, 0), std::vector<double>{250.5});
  EXPECT_EQ(PointLabel(Xs(s, 0)[0]), "17");
  EXPECT_TRUE(Xs(s, 1).empty());                  // "word", "z1"
  EXPECT_EQ(Ys(s, 2), std::vector<double>{1.0});  // empty on line 17
  EXPECT_EQ(Xs(s, 2), std::vector<double>{18});
  EXPECT_EQ(Ys(s, 3), (std::vector<double>{0.0, 0.0}));      // "1..2" and "#" plot at 0.0
  EXPECT_EQ(Ys(s, 4), (std::vector<double>{-1500.0, 0.0}));  // "." is not a number
  EXPECT_EQ(Ys(s, 5), (std::vector<double>{8.0, 0.0}));      // blanks trimmed; "+" is not a number
}

TEST(ParseCalibrationLines, HorizontalValueIsTheIntegerBeginningTheLine) {
  const CalibrationParseResult result = ParseCalibrationLines({
      "0,0,30,T",
      "abc,0,31,1",
      " -25 s,0,31,2",
      "12.9,0,31,3",
  });
  ASSERT_EQ(result.ColumnCount(), 1u);
  EXPECT_EQ(Xs(result, 0), (std::vector<double>{0, -25, 12}));
  EXPECT_EQ(PointLabel(Xs(result, 0)[1]), "-25");
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
  EXPECT_EQ(Title(result, 99), "T99");
  EXPECT_EQ(Ys(result, 99), std::vector<double>{99});

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
  EXPECT_EQ(Ys(result, 0), std::vector<double>{12});
  EXPECT_TRUE(Xs(result, 1).empty());
  // The same through the text reader, with the line last and with more text after it.
  for (const std::string& after : {std::string(), "0,0,10," + std::string(100, 'c') + "\r\n"}) {
    const CalibrationParseResult fromText = ParseCalibrationText("0,0,30,A,B\r\n" + data + "\r\n" + after);
    EXPECT_EQ(Ys(fromText, 0), std::vector<double>{12});
    EXPECT_TRUE(Xs(fromText, 1).empty());
  }
}

// Every data line's x is kept once for all columns; a column that misses a value at a line has no
// point there, and a line that gives no column a point is not kept at all.
TEST(ParseCalibrationText, ColumnsShareOneHorizontalValuePerLineAndMarkTheirMissingPoints) {
  const std::string text =
      "9,0,31,-9,,-7\r\n"  // above the header
      "0,0,30,A,B,C\r\n"
      "1,0,31,1.5,,3\r\n"
      "2,0,31,,x,\r\n"  // no point in any column: not kept
      "3,0,31,,word,4\r\n"
      "4,0,31,5\r\n"  // the later columns have no field at all
      "5,0,31,6,7,8\r\n";
  const CalibrationParseResult result = ParseCalibrationText(text);
  ASSERT_EQ(result.ColumnCount(), 3u);
  const CalibrationPoints& points = result.points;
  EXPECT_EQ(std::vector<double>(points.xs.begin(), points.xs.end()), (std::vector<double>{9, 1, 3, 4, 5}));
  const double none = kNoPoint;
  const std::vector<std::vector<double>> expected = {
      {-9, 1.5, none, 5, 6},
      {none, none, none, none, 7},
      {-7, 3, 4, none, 8},
  };
  for (std::size_t m = 0; m < 3; ++m) {
    const PointArray& ys = points.columns[m].ys;
    ASSERT_EQ(ys.size(), points.xs.size()) << m;  // one value per kept line, shared x
    for (std::size_t i = 0; i < ys.size(); ++i) {
      EXPECT_EQ(IsPoint(ys[i]), IsPoint(expected[m][i])) << "column " << m << " line " << i;
      if (IsPoint(expected[m][i])) EXPECT_EQ(ys[i], expected[m][i]) << "column " << m << " line " << i;
    }
  }
  EXPECT_EQ(Xs(result, 1), std::vector<double>{5});
  EXPECT_EQ(Xs(result, 2), (std::vector<double>{9, 1, 3, 5}));
  // The storage is the points and nothing more: one x and one y per column for each kept line.
  EXPECT_EQ(points.BytesInUse(), 5 * 4 * sizeof(double));
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
  for (const CalibrationParseResult& result : ReadBothWays({header, data})) {
    ASSERT_EQ(result.ColumnCount(), 100u);
    for (std::size_t k = 0; k < 100; ++k) {
      const double expected = ReadCalibrationValue(TrimBlanksAndControls(fields[k])).value_or(0.0);
      ASSERT_EQ(Ys(result, k).size(), 1u) << fields[k];
      EXPECT_EQ(Ys(result, k)[0], expected) << "'" << fields[k] << "'";
    }
  }
}

// Short fixed-point numbers are read several characters at a time: every count of digits before and after
// the full stop, with the characters just beside the digits ('/' and ':'), must read bit for bit like
// the general reader, whether the field stands in the middle or at the end of a line, and whether the
// line is read on its own or inside a text.
TEST(ParseCalibrationLines, ShortNumbersOfEveryLengthReadLikeTheGeneralReader) {
  std::mt19937 random(5);
  const char* const signs[] = {"", "-", "+"};
  const char* const tails[] = {"", " ", "/", ":", "0:", "e1", "."};
  std::vector<std::string> fields;
  for (int whole = 0; whole <= 10; ++whole) {
    for (int fraction = -1; fraction <= 10; ++fraction) {  // -1: no full stop
      for (int variant = 0; variant < 6; ++variant) {
        std::string field = signs[variant % 3];
        for (int d = 0; d < whole; ++d)
          field += static_cast<char>('0' + (variant == 5 && d == 0 ? 0 : random() % 10));
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
      for (const CalibrationParseResult& result : ReadBothWays({header, data})) {
        ASSERT_EQ(result.ColumnCount(), kMaxCalibrationColumns);
        for (std::size_t k = 0; k < kMaxCalibrationColumns; ++k) {
          const std::string& field = lineFields[k];
          const std::string_view trimmed = TrimBlanksAndControls(field);
          if (trimmed.empty() || (trimmed[0] >= 'a' && trimmed[0] <= 'z')) {
            EXPECT_TRUE(Ys(result, k).empty()) << "'" << field << "'";
            continue;
          }
          const std::vector<double> ys = Ys(result, k);
          ASSERT_EQ(ys.size(), 1u) << "'" << field << "'";
          const double expected = ReadCalibrationValue(trimmed).value_or(0.0);
          EXPECT_EQ(std::memcmp(&ys[0], &expected, sizeof expected), 0)
              << "'" << field << "' read as " << ys[0] << ", expected " << expected;
        }
      }
    }
  }
}

TEST(ParseCalibrationText, AcceptsEveryLineEnd) {
  const CalibrationParseResult result =
      ParseCalibrationText("0,0,30,T\r1,0,31,1\n2,0,31,2\r\n3,0,31,3\r\n\r\n4,0,31,4");
  ASSERT_EQ(result.ColumnCount(), 1u);
  EXPECT_EQ(Xs(result, 0), (std::vector<double>{1, 2, 3, 4}));
}

// Split between two threads, chunk by chunk, a text gives the very points of one thread reading it all:
// lines of every ending, lines that span chunks, lines too long to read whole, lines before the header and
// lines that give no point, wherever the chunks and their halves fall.
TEST(ParseCalibrationTextOnTwoThreads, SamePointsBitForBitAsOneThread) {
  const char* const fields[] = {"293.151", " -2.25 ", "",  "word", "1..2",
                                "-1.5e3",  "24000",   "+", "1e-2", "-0"};
  const char* const ends[] = {"\r\n", "\r\n", "\n", "\r"};
  std::mt19937 random(3);
  std::string text = "7,0,31,1,2,3\r\n0,0,30,A,B,C,D,E\r\n";
  for (int i = 0; i < 4000; ++i) {
    std::string line = std::to_string(i) + ",2026-12-09 08:14," + (i % 50 == 7 ? "32" : "31");
    for (int c = 0; c < 5; ++c) line += std::string(",") + fields[random() % std::size(fields)];
    if (i % 997 == 5) line += "," + std::string(kMaxLineLength, '9');
    text += line + ends[random() % std::size(ends)];
  }
  text += "4001,0,31,9.5";  // no line end
  const CalibrationParseResult one = ParseCalibrationText(text);
  ASSERT_EQ(one.ColumnCount(), 5u);
  ASSERT_GT(one.points.LineCount(), 3800u);
  for (std::size_t chunk : {std::size_t{1000}, std::size_t{4099}, std::size_t{1} << 20}) {
    const CalibrationParseResult two = ParseCalibrationTextOnTwoThreads(text, chunk, 200);
    ASSERT_EQ(two.ColumnCount(), 5u);
    const auto same = [](const PointArray& a, const PointArray& b) {
      return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
    };
    EXPECT_TRUE(same(two.points.xs, one.points.xs)) << "chunk " << chunk;
    for (std::size_t m = 0; m < 5; ++m) {
      EXPECT_TRUE(same(two.points.columns[m].ys, one.points.columns[m].ys))
          << "chunk " << chunk << " column " << m;
    }
  }
}

}  // namespace
}  // namespace varnok
