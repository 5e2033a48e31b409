#include "config/ConfigParser.h"

#include <gtest/gtest.h>

#include "tests/config/ConfigFixture.h"
#include "config/SampleConfiguration.h"

namespace varnok {
namespace {

using test::SampleLines;

TEST(ConfigParser, SampleFileYieldsEveryValue) {
  ConfigPanel panel;
  ASSERT_EQ(ParseConfiguration(SampleLines(), panel), ParseOutcome::kComplete);

  EXPECT_EQ(panel.Tip1, "0.98");
  EXPECT_EQ(panel.Tip2, "0.0");
  EXPECT_EQ(panel.Tip3, "5");
  EXPECT_EQ(panel.TipL, (std::vector<std::string>{"30", "45", "90", "135", "150"}));
  EXPECT_EQ(panel.Tip9, "0");
  EXPECT_EQ(panel.Tip10, "0.8");
  EXPECT_EQ(panel.BlRain, "0.80");
  EXPECT_EQ(panel.BlRH, "70");
  EXPECT_EQ(panel.BlSpeed, "30");
  EXPECT_EQ(panel.CFG_C1, "13.0");
  EXPECT_EQ(panel.CFG_C2, "68.23");
  EXPECT_EQ(panel.CFG_C3, "0.009037");
  EXPECT_EQ(panel.CFG_C4, "0.0078");
  EXPECT_EQ(panel.CFG_C5, "6.08e-6");
  EXPECT_EQ(panel.CFG_C6, "5.1");
  EXPECT_EQ(panel.CFG_C7, "+600.00,200.00");
  EXPECT_EQ(panel.CFG_C8, "-0.61,4.329");
  EXPECT_EQ(panel.CFG_C9, "+0.17,4.333");
  EXPECT_EQ(panel.CFG_C10, ".050,.065");
  EXPECT_EQ(panel.Offset1, "-0.37");
  EXPECT_EQ(panel.Offset2, "-0.85");
  EXPECT_EQ(panel.Offset3, "+0.80");
  EXPECT_EQ(panel.Offset4, "+0.00");
  EXPECT_EQ(panel.LastFCal, "2012/03/09 18:46:19 ");  // 20 characters, the last a blank
  EXPECT_EQ(panel.LastUserCal, "2012/07/05 16:39:27 ");
  EXPECT_EQ(panel.CalIntParam, "10,10.0,2.5,10,200 ");
  EXPECT_EQ(panel.CFG_C11, ".90" + std::string(13, ' '));
  EXPECT_EQ(panel.NumberOfFreq, "35");

  const CalibrationRow first = {"22.000",         "0",
                                "275.0",          ".000140",
                                "32860",          "18.0",
                                "0.98392",        "-0.32971159E+06",
                                "0.44790604E+02", "-0.43239577E+00",
                                "0.14312771E-02", "-0.16304988E-05",
                                "127.31"};
  EXPECT_EQ(panel.FTable[1], first);
  EXPECT_EQ(panel.FTable[35][0], "58.800");
  EXPECT_EQ(panel.FTable[35][1], "1");
  EXPECT_EQ(panel.FTable[35][12], "245.64");
  for (int r = 1; r <= kCalibrationRows; ++r) {
    for (int c = 0; c < kCalibrationColumns; ++c) EXPECT_FALSE(panel.FTable[r][c].empty()) << r << "," << c;
    EXPECT_EQ(panel.FTable[r][1], r <= 21 ? "0" : "1") << "receiver of row " << r;
  }
  EXPECT_EQ(panel.FTable[21][0], "30.000");
  EXPECT_EQ(panel.FTable[22][0], "51.248");
  EXPECT_EQ(panel.FTable[0], CalibrationTitleRow()) << "the title row is not the parser's";
}

TEST(ConfigParser, EditorStartsWithTheSampleFile) {
  EXPECT_EQ(SampleConfigurationText(), test::ReadFixture("SAMPLE.CFG"));
}

TEST(ConfigParser, LinesEndWithCrLfLfOrCr) {
  EXPECT_EQ(SplitConfigLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitConfigLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitConfigLines("a\n\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(SplitConfigLines("").empty());
}

TEST(ConfigParser, FindConfigValueTakesTheTextBeforeTheMarker) {
  const struct {
    const char* line;
    const char* value;
  } cases[] = {
      {"0.98            :regression coeff for a good tip", "0.98"},
      {"2012/03/09 18:46:19 :Date of last factory LN2 calibration", "2012/03/09 18"},  // the first colon
      {"value  comment without a colon", "value"},
      {"QX-7100A 4460C", "QX-7100A 4460C"},  // one blank is no marker
      {"  42  ", "42"},                      // pair of blanks at position 1: the whole line
      {"\t7\t", "7"},
      {":colon in column one", ":colon in column one"},
      {"1:colon in column two", "1:colon in column two"},
      {"12:colon in column three", "12"},
      {" x  y: z", "x  y"},  // the colon comes first when there is one
      {"", ""},
  };
  for (const auto& k : cases) {
    const std::vector<std::string> lines = {"# comment", "SECTION: more", k.line, "after"};
    EXPECT_EQ(FindConfigValue(lines, "SECTION:", 1), k.value) << '"' << k.line << '"';
  }
}

TEST(ConfigParser, FindConfigValueIsEmptyOutsideTheText) {
  const std::vector<std::string> lines = {"A:", "1 :one", "B:", "SECTION:"};
  EXPECT_EQ(FindConfigValue(lines, "A:", 1), "1");
  EXPECT_EQ(FindConfigValue(lines, "SECTION:", 1), "") << "header on the last line";
  EXPECT_EQ(FindConfigValue(lines, "MISSING:", 0), "");
  EXPECT_EQ(FindConfigValue(lines, "A:", -1), "");
  EXPECT_EQ(FindConfigValue(lines, "A:", INT64_MAX), "");
  EXPECT_EQ(FindConfigValue(lines, "a:", 1), "") << "section names are case-sensitive";
  EXPECT_EQ(FindConfigValue({"x A: y", "5 :v", "A:", "6 :w"}, "A:", 1), "5")
      << "the first line containing it";
}

TEST(ConfigParser, FindConfigIntAcceptsOnlyDecimalIntegers) {
  const struct {
    const char* value;
    std::int32_t expected;
  } cases[] = {{"5", 5},
               {"-12", -12},
               {"+7", 7},
               {"5.0", 0},
               {"", 0},
               {"$1F", 0},
               {"0x10", 0},
               {"12 3", 0},
               {"2147483647", INT32_MAX},
               {"2147483648", 0},
               {"-2147483648", INT32_MIN},
               {"-", 0}};
  for (const auto& k : cases) {
    const std::vector<std::string> lines = {"H:", std::string(k.value) + "  :comment"};
    EXPECT_EQ(FindConfigInt(lines, "H:", 1), k.expected) << '"' << k.value << '"';
  }
}

// A tip section with the given count line and angle lines, then the rain flag and threshold lines.
std::vector<std::string> TipSection(const std::string& count, const std::vector<std::string>& angles) {
  std::vector<std::string> lines = {"# tips", "TIP CONFIGURATION: (For all TIP Commands)", "0.97  :r",
                                    "1.5  :az", count + "  :n"};
  for (const std::string& a : angles) lines.push_back(a + "  :angle");
  lines.push_back("1               :rain");
  lines.push_back("0.6             :threshold");
  return lines;
}

TEST(ConfigParser, AngleCountPlacesTheRainFieldsAndFillsTheList) {
  const std::vector<std::string> five = {"10", "20", "30", "40", "50"};
  const struct {
    const char* name;
    std::vector<std::string> lines;
    std::vector<std::string> list;
    const char* tip9;
    const char* tip10;
  } cases[] = {
      {"three angles", TipSection("3", {"30", "45", "90"}), {"30", "45", "90"}, "1", "0.6"},
      {"count 0 reads +4 and +5", TipSection("0", {"30", "45"}), {}, "30", "45"},
      {"count not a whole number", TipSection("2.5", {"30", "45"}), {}, "30", "45"},
      {"negative count counts as 0", TipSection("-2", {"30", "45"}), {}, "30", "45"},
      {"angle not a whole number becomes 0", TipSection("3", {"12.5", "", "x"}), {"0", "0", "0"}, "1", "0.6"},
      // A count beyond the file: the list ends with the file, the rain fields lie beyond it.
      {"count beyond the file", TipSection("40", five), {"10", "20", "30", "40", "50", "1", "0"}, "", ""},
      {"count at the 32-bit limit",
       TipSection("2147483647", five),
       {"10", "20", "30", "40", "50", "1", "0"},
       "",
       ""},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    ConfigPanel panel;
    ASSERT_EQ(ParseConfiguration(k.lines, panel), ParseOutcome::kComplete);
    EXPECT_EQ(panel.Tip1, "0.97");
    EXPECT_EQ(panel.Tip2, "1.5");
    EXPECT_EQ(panel.TipL, k.list);
    EXPECT_EQ(panel.Tip9, k.tip9);
    EXPECT_EQ(panel.Tip10, k.tip10);
  }
}

TEST(ConfigParser, CountIsKeptAsWrittenEvenWhenTheListDiffers) {
  ConfigPanel panel;
  ParseConfiguration(TipSection("-2", {"30"}), panel);
  EXPECT_EQ(panel.Tip3, "-2");
}

TEST(ConfigParser, MissingSectionsEmptyTheirFieldsButNotTheCalibrationBlock) {
  ConfigPanel panel = test::SamplePanel();
  const ConfigPanel before = panel;
  // Only a blower header, on the last line; no calibration block.
  ASSERT_EQ(ParseConfiguration({"# nothing else", "BLOWER SETTINGS:"}, panel), ParseOutcome::kComplete);
  for (const std::string* field :
       {&panel.Tip1, &panel.Tip2, &panel.Tip3, &panel.Tip9, &panel.Tip10, &panel.BlRain, &panel.BlRH,
        &panel.BlSpeed, &panel.CFG_C1, &panel.CFG_C7, &panel.CFG_C10, &panel.Offset1, &panel.Offset4}) {
    EXPECT_EQ(*field, "");
  }
  EXPECT_TRUE(panel.TipL.empty());
  EXPECT_EQ(panel.LastFCal, before.LastFCal);
  EXPECT_EQ(panel.LastUserCal, before.LastUserCal);
  EXPECT_EQ(panel.CalIntParam, before.CalIntParam);
  EXPECT_EQ(panel.CFG_C11, before.CFG_C11);
  EXPECT_EQ(panel.NumberOfFreq, before.NumberOfFreq);
  EXPECT_EQ(panel.FTable, before.FTable);
}

// A calibration block with `rows` table lines whose frequencies are 100 + row.
std::vector<std::string> CalibrationBlock(const std::string& count, int rows) {
  std::vector<std::string> lines = {"CHANNEL CALIBRATION BLOCK:",
                                    "2020/01/02 03:04:05 :factory",
                                    "2021/01/02 03:04:05 :user",
                                    "1,2,3,4,5 :ln2 calibration integration parameters",
                                    "0.5   :target tolerance for ln2 cal",
                                    count + "  :number of frequencies",
                                    "Frequency,Rcvr,..."};
  for (int r = 1; r <= rows; ++r)
    lines.push_back(std::to_string(100 + r) + ".000,1,2,3,4,5,6,7,8,9,10,11,12");
  return lines;
}

TEST(ConfigParser, TwentyTwoRowsAfterThirtyFiveKeepTheOlderRows) {
  ConfigPanel panel = test::SamplePanel();
  const ConfigPanel sample = panel;
  ASSERT_EQ(ParseConfiguration(CalibrationBlock("22", 22), panel), ParseOutcome::kComplete);
  EXPECT_EQ(panel.NumberOfFreq, "22");
  EXPECT_EQ(panel.LastFCal, "2020/01/02 03:04:05 ");
  EXPECT_EQ(panel.CalIntParam, "1,2,3,4,5 ");
  EXPECT_EQ(panel.CFG_C11, "0.5   ");
  for (int r = 1; r <= 22; ++r) EXPECT_EQ(panel.FTable[r][0], std::to_string(100 + r) + ".000");
  for (int r = 23; r <= 35; ++r) EXPECT_EQ(panel.FTable[r], sample.FTable[r]) << "row " << r;
}

// The dates keep their first 20 characters, however many bytes those take in UTF-8.
TEST(ConfigParser, DatesAreCutByCharacters) {
  std::vector<std::string> lines = CalibrationBlock("1", 1);
  lines[1] = "2020°01°02 “03:04”€€ :factory";
  lines[2] = "ééééééééééééééééééééé";
  ConfigPanel panel;
  ASSERT_EQ(ParseConfiguration(lines, panel), ParseOutcome::kComplete);
  EXPECT_EQ(panel.LastFCal, "2020°01°02 “03:04”€€");
  EXPECT_EQ(panel.LastUserCal, "éééééééééééééééééééé");
}

TEST(ConfigParser, TableRowsAreBoundedByCountLinesAndThirtyFive) {
  const struct {
    const char* count;
    int linesInFile;
    int rowsFilled;
  } cases[] = {{"22", 30, 22}, {"30", 10, 10}, {"40", 40, 35}, {"0", 5, 0}, {"-3", 5, 0}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.count);
    ConfigPanel panel;
    ASSERT_EQ(ParseConfiguration(CalibrationBlock(k.count, k.linesInFile), panel), ParseOutcome::kComplete);
    for (int r = 1; r <= kCalibrationRows; ++r) {
      EXPECT_EQ(panel.FTable[r][0].empty(), r > k.rowsFilled) << "row " << r;
    }
  }
}

TEST(ConfigParser, BadFrequencyCountEndsTheParseBeforeTheOtherSections) {
  // The block's number-of-frequencies line lacks its marker, so the start-up text "35 " is read.
  std::vector<std::string> lines = CalibrationBlock("35", 3);
  lines[5] = "35";
  lines.insert(lines.end(), {"", "BLOWER SETTINGS:", "0.5 :rain", "60 :rh", "20 :speed"});
  ConfigPanel panel;
  ASSERT_EQ(panel.NumberOfFreq, "35 ");
  EXPECT_EQ(ParseConfiguration(lines, panel), ParseOutcome::kBadFrequencyCount);
  EXPECT_EQ(panel.LastFCal, "2020/01/02 03:04:05 ") << "fields before the count are set";
  EXPECT_EQ(panel.BlRain, "0.8") << "the blower section is not reached";
  EXPECT_EQ(panel.Tip1, "0.0");
  EXPECT_TRUE(panel.FTable[1][0].empty());
}

TEST(ConfigParser, ALaterCalibrationBlockOverwritesTheFirst) {
  std::vector<std::string> lines = CalibrationBlock("2", 2);
  std::vector<std::string> second = CalibrationBlock("1", 1);
  second[1] = "2030/12/31 23:59:59 :factory";
  second[7] = "7.5,0";
  lines.insert(lines.end(), second.begin(), second.end());
  ConfigPanel panel;
  ASSERT_EQ(ParseConfiguration(lines, panel), ParseOutcome::kComplete);
  EXPECT_EQ(panel.LastFCal, "2030/12/31 23:59:59 ");
  EXPECT_EQ(panel.NumberOfFreq, "1");
  EXPECT_EQ(panel.FTable[1][0], "7.5");
  EXPECT_EQ(panel.FTable[1][2], "") << "the row is cleared before it is filled";
  EXPECT_EQ(panel.FTable[2][0], "102.000");
}

TEST(ConfigParser, TableLineItemsFillTheRowFromTheLeft) {
  CalibrationRow row;
  row.fill("old");
  FillTableRow(" 22.000,0,275.0,.000140, 32860,18.0", row);
  EXPECT_EQ(row[0], "22.000");
  EXPECT_EQ(row[4], "32860");
  EXPECT_EQ(row[5], "18.0");
  EXPECT_EQ(row[6], "") << "cells without an item are cleared";

  FillTableRow("1,,3,4,5,6,7,8,9,10,11,12,13,14,15", row);
  EXPECT_EQ(row[1], " ") << "an empty item is one blank";
  EXPECT_EQ(row[12], "13") << "items beyond the 13th are dropped";
}

}  // namespace
}  // namespace varnok
