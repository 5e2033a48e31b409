#include <string>

#include <gtest/gtest.h>

#include "core/SettingsTemporaryName.h"
#include "core/SettingsText.h"

namespace varnok {
namespace {

using namespace std::string_literals;

// Files written by hand or by other programs: loading and writing back gives every byte again,
// and writing the values they already hold changes nothing either.
TEST(SettingsText, UnchangedFilesComeBackByteForByte) {
  const std::string files[] = {
      "",
      "[Form]\nTop=5\n",
      "[Form]\r\nTop=5\r\nLeft=7\r\n",  // CR LF line ends
      "[Form]\nTop=5",                  // no line end after the last line
      "; hand note\n[Form]\n; about Top\nTop = 5 \n\n[Chart]\nWindow=9\n; last comment\n",
      "[Form]\nnot a setting\nTop=5\n  # also not\n",                  // lines without "="
      "[Form]\nTop=5\n[Form2]\nCmd=a\0b\nmore\0\n[Chart]\nLast=1\n"s,  // NUL bytes
      "[Site\nName=x\n[Form]\nTop=5\n",                                // a header without its "]"
      "\xEF\xBB\xBF[Form]\nTop=5\n",                                   // byte-order mark
      "\xEF\xBB\xBFKey=1\n[Form]\nTop=5\n",                            // a key before the first section
      "[Zeta]\nB=2\nA=1\n[alpha]\nX=\n[Form]\nTOP=5\n",                // order and spelling kept
      "\n\n[Form]\n\n\nTop=5\n\n\n",
      "[Form]\nTop=5\r\nLeft=6\n\r\n",  // mixed line ends
      "[Form]\nTop=5\r",                // a lone CR at the very end
      "[Form]\nTop=5\rx\n",             // a lone CR inside a value
  };
  for (const std::string& file : files) {
    SettingsText text(file);
    EXPECT_EQ(text.Text(), file) << file;
    if (const auto top = text.Value("Form", "Top")) {
      text.SetValue("Form", "Top", *top);
      text.SetValue("form", "top", *top);
      EXPECT_EQ(text.Text(), file) << file;
    }
  }
}

TEST(SettingsText, ValuesAsReadFromEachKindOfLine) {
  const std::string file =
      "\xEF\xBB\xBFLoose=0\n"
      "[Form]\r\nTop = 5 \r\n;Left=9\r\nnot a setting\r\nLeft=1=2\r\nTop=6\r\nNul=a\0b\r\n"
      "[Site\nName=x\n"
      " [ Chart ] trailing\nLast=\t1\n"
      "[Form]\nWidth=3\n"s;
  const SettingsText text(file);
  const struct {
    const char* section;
    const char* key;
    std::optional<std::string> expected;
  } cases[] = {
      {"", "Loose", "0"},       // the mark is not part of the first key
      {"Form", "Top", "5"},     // blanks around dropped; the first of two counts
      {"FORM", "top", "5"},     // any letter case
      {"Form", "Left", "1=2"},  // the commented line does not count
      {"Form", "Nul", "a\0b"s},
      {"Form", "Width", "3"},  // a second block of the same section
      {"Site", "Name", "x"},   // a header without "]" still opens its section
      {"Form", "Name", std::nullopt},
      {"Chart", "Last", "1"},
      {"Chart", "Top", std::nullopt},
      {"Nowhere", "Top", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(text.Value(c.section, c.key), c.expected) << c.section << "/" << c.key;
}

TEST(SettingsText, ChangingAKeyRewritesOnlyItsLine) {
  const struct {
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
  } cases[] = {
      {"[Form]\r\nTop = 5\r\n; c\r\n", "Form", "Top", "250", "[Form]\r\nTop = 250\r\n; c\r\n"},
      {"[Form]\nTOP=5\n", "Form", "top", "6", "[Form]\nTOP=6\n"},
      // A new key goes after the section's last setting, with the file's line end.
      {"[Form]\r\nTop=5\r\n; note\r\n[Chart]\r\n", "Form", "Left", "3",
       "[Form]\r\nTop=5\r\nLeft=3\r\n; note\r\n[Chart]\r\n"},
      {"[Form]\n[Chart]\nWindow=1\n", "Form", "Left", "3", "[Form]\nLeft=3\n[Chart]\nWindow=1\n"},
      {"[Form]\nTop=5", "Form", "Left", "3", "[Form]\nTop=5\nLeft=3\n"},
      // A new section goes at the end, without blank lines.
      {"[Form]\nTop=5", "Chart", "Last", "1", "[Form]\nTop=5\n[Chart]\nLast=1\n"},
      {"", "Chart", "Last", "1", "[Chart]\nLast=1\n"},
      {"[Form]\nTop=5\r", "Chart", "Last", "1", "[Form]\nTop=5\r\n[Chart]\nLast=1\n"},
      {"[Site\nName=x\n", "Site", "Name", "y", "[Site\nName=y\n"},
      {"\xEF\xBB\xBFKey=1\n", "", "Key", "2", "\xEF\xBB\xBFKey=2\n"},
      // A line break in a value cannot start a line of its own.
      {"[Form]\nIP=a\n", "Form", "IP", "b\r\nInjected=1", "[Form]\nIP=b  Injected=1\n"},
  };
  for (const auto& c : cases) {
    SettingsText text(c.before);
    text.SetValue(c.section, c.key, c.value);
    EXPECT_EQ(text.Text(), c.after) << c.before;
  }
}

TEST(SettingsText, RepeatedSavesOfTheSameValuesDoNotGrowTheFile) {
  std::string file = "[Site\nName=x\n\xEF\xBB\xBFOdd\n[Form]\nTop=1\n";
  for (int round = 0; round < 3; ++round) {
    SettingsText text(file);
    text.SetValue("Form", "Top", "2");
    text.SetValue("Form", "Left", "3");
    text.SetValue("Form2", "Cmd", "a,b");
    file = text.Text();
  }
  EXPECT_EQ(file, "[Site\nName=x\n\xEF\xBB\xBFOdd\n[Form]\nTop=2\nLeft=3\n[Form2]\nCmd=a,b\n");
}

TEST(SettingsTemporaryName, OnlyTheProgramsOwnTemporariesAreRecognised) {
  EXPECT_EQ(SettingsTemporaryPattern("omblet.ini", 42), ".omblet.ini.saving-42-XXXXXX");
  const struct {
    const char* candidate;
    std::optional<long> owner;
  } cases[] = {
      {".omblet.ini.saving-42-a1B2c3", 42},
      {".omblet.ini.saving-7-XXXXXX", 7},
      {"omblet.ini", std::nullopt},
      {"omblet.ini.backup", std::nullopt},
      {".omblet.ini.saving-42-a1B2c", std::nullopt},
      {".omblet.ini.saving--a1B2c3", std::nullopt},
      {".omblet.ini.saving-42-a1B2c3d", std::nullopt},
      {".other.ini.saving-42-a1B2c3", std::nullopt},
      {".omblet.ini.saving-4x-a1B2c3", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SettingsTemporaryOwner("omblet.ini", c.candidate), c.owner) << c.candidate;
}

}  // namespace
}  // namespace varnok
