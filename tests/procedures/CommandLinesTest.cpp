#include "procedures/CommandLines.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

TEST(CommandLines, StartLineQuotesThePathOnlyWhenTheShellWouldActOnIt) {
  struct Case {
    ShellDialect dialect;
    const char* path;
    const char* line;
  } cases[] = {
      {ShellDialect::Cmd, R"(C:\data\normal.prc)", R"(QXC.exe -r C:\data\normal.prc)"},
      {ShellDialect::Cmd, R"(C:\my data\normal.prc)", R"(QXC.exe -r "C:\my data\normal.prc")"},
      {ShellDialect::Cmd, R"(C:\a&b\x.prc)", R"(QXC.exe -r "C:\a&b\x.prc")"},
      {ShellDialect::Cmd, R"(C:\q"x.prc)", R"(QXC.exe -r "C:\qx.prc")"},
      {ShellDialect::Posix, "/data/normal.prc", "QXC.exe -r /data/normal.prc"},
      {ShellDialect::Posix, "/my data/normal.prc", "QXC.exe -r '/my data/normal.prc'"},
      {ShellDialect::Posix, "/d/a;touch x.prc", "QXC.exe -r '/d/a;touch x.prc'"},
      {ShellDialect::Posix, "/d/$(id).prc", "QXC.exe -r '/d/$(id).prc'"},
      {ShellDialect::Posix, "/d/`id`.prc", "QXC.exe -r '/d/`id`.prc'"},
      {ShellDialect::Posix, "/d/it's.prc", R"(QXC.exe -r '/d/it'\''s.prc')"},
      {ShellDialect::Posix, R"(C:\data\normal.prc)", R"(QXC.exe -r 'C:\data\normal.prc')"},
  };
  for (const Case& c : cases) {
    const auto line = StartCommandLine("QXC.exe", c.path, c.dialect);
    ASSERT_TRUE(line.has_value()) << c.path;
    EXPECT_EQ(*line, c.line) << c.path;
  }
}

TEST(CommandLines, IdleAndStopLines) {
  EXPECT_EQ(IdleCommandLine("QXC.exe"), "QXC.exe -i ");
  EXPECT_STREQ(kStopCommandLine, "echo stop > STOP");
}

TEST(CommandLines, LinesOverFiveHundredElevenCharactersAreNotBuilt) {
  // "P -r " + path: 5 + path length.
  EXPECT_EQ(StartCommandLine("P", std::string(506, 'a'), ShellDialect::Posix)->size(), 511u);
  EXPECT_FALSE(StartCommandLine("P", std::string(507, 'a'), ShellDialect::Posix).has_value());
  // Quotes count too.
  EXPECT_FALSE(StartCommandLine("P", std::string(505, ' '), ShellDialect::Posix).has_value());
  EXPECT_EQ(IdleCommandLine(std::string(507, 'q'))->size(), 511u);
  EXPECT_FALSE(IdleCommandLine(std::string(508, 'q')).has_value());
}

TEST(CommandLines, ProcedurePathAndProgramFileName) {
  EXPECT_EQ(JoinFolderAndName("/data", "normal.prc"), "/data/normal.prc");
  EXPECT_EQ(JoinFolderAndName("/data/", "normal.prc"), "/data/normal.prc");
  EXPECT_EQ(JoinFolderAndName(R"(C:\data\)", "normal.prc"), R"(C:\data\normal.prc)");
  EXPECT_EQ(ProgramFileName("QXC.exe"), "QXC.exe");
  EXPECT_EQ(ProgramFileName(R"(C:\QX\QXC.exe)"), "QXC.exe");
  EXPECT_EQ(ProgramFileName("/opt/qx/QXC.exe"), "QXC.exe");
  EXPECT_EQ(ProgramFileName("/opt/qx/"), "");
}

}  // namespace
}  // namespace varnok
