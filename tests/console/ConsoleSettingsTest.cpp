#include "console/ConsoleSettings.h"

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"
#include "core/SettingsFile.h"

namespace varnok {
namespace {

using Entries = std::vector<std::string>;

TEST(ConsoleSettings, MissingFileGivesTheDefaults) {
  testing::TempFolder folder;
  SettingsFile file(folder.Path() / "absent.ini");
  const ConsoleSettings s = ReadConsoleSettings(file);
  EXPECT_EQ(s.top, 100);
  EXPECT_EQ(s.left, 100);
  EXPECT_EQ(s.width, 600);
  EXPECT_EQ(s.height, 258);
  EXPECT_EQ(s.commands, (Entries{"software", "fault", "status", "line"}));
}

TEST(ConsoleSettings, StoredValuesAreRead) {
  struct Case {
    const char* file;
    int top, left, width, height;
    Entries commands;
  } cases[] = {
      {"[Form2]\nTop=7\nLeft=$10\nWidth=640\nHeight=300\nCommands=status,\"temp 3\"\n",
       7,
       16,
       640,
       300,
       {"status", "temp 3"}},
      // Written by hand without quotes, a blank separates entries.
      {"[Form2]\nCommands=status line\n", 100, 100, 600, 258, {"status", "line"}},
      {"[Form2]\nTop=abc\nWidth=12.5\nCommands=\n", 100, 100, 600, 258, {}},
      {"[Form]\nTop=5\n", 100, 100, 600, 258, {"software", "fault", "status", "line"}},
  };
  for (const Case& c : cases) {
    testing::TempFolder folder;
    SettingsFile file(folder.Write("v.ini", c.file));
    const ConsoleSettings s = ReadConsoleSettings(file);
    EXPECT_EQ(s.top, c.top) << c.file;
    EXPECT_EQ(s.left, c.left) << c.file;
    EXPECT_EQ(s.width, c.width) << c.file;
    EXPECT_EQ(s.height, c.height) << c.file;
    EXPECT_EQ(s.commands, c.commands) << c.file;
  }
}

TEST(ConsoleSettings, WrittenHistoryReadsBackWhole) {
  testing::TempFolder folder;
  const ConsoleSettings written{10, 20, 700, 400, {"temp 3", "a,b", "say \"hi\"", "", "plain"}};
  {
    SettingsFile file(folder.Path() / "v.ini");
    WriteConsoleSettings(file, written);
    file.Save();
  }
  EXPECT_NE(folder.Read("v.ini").find("Commands=\"temp 3\",\"a,b\",\"say \"\"hi\"\"\",,plain"),
            std::string::npos)
      << folder.Read("v.ini");
  SettingsFile again(folder.Path() / "v.ini");
  const ConsoleSettings read = ReadConsoleSettings(again);
  EXPECT_EQ(read.top, 10);
  EXPECT_EQ(read.left, 20);
  EXPECT_EQ(read.width, 700);
  EXPECT_EQ(read.height, 400);
  EXPECT_EQ(read.commands, written.commands);
}

}  // namespace
}  // namespace varnok
