#include "procedures/StartCheck.h"

#include <gtest/gtest.h>

namespace varnok {
namespace {

const std::vector<ProcessEntry> kOthers{{"bash"}, {"qxc.exe"}, {"sleep"}};
const std::vector<ProcessEntry> kWithQxc{{"bash"}, {"QXC.exe"}};

TEST(StartCheck, ChecksInOrderWithTheirMessages) {
  struct Case {
    const char* what;
    StartFacts facts;
    const char* refusal;
    const char* line;
  } cases[] = {
      {"program missing, nothing selected",
       {"QXC.exe", false, "", kWithQxc},
       "Application QXC.exe Does not exist",
       ""},
      {"program missing, file selected",
       {"QXC.exe", false, "/d/n.prc", {}},
       "Application QXC.exe Does not exist",
       ""},
      {"nothing selected, program running",
       {"QXC.exe", true, "", kWithQxc},
       "Please select procedure file",
       ""},
      {"already running", {"QXC.exe", true, "/d/n.prc", kWithQxc}, "QXC.exe Already running", ""},
      {"other letter case does not count", {"QXC.exe", true, "/d/n.prc", kOthers}, "", "QXC.exe -r /d/n.prc"},
      {"folder part compared by file name",
       {"/opt/qx/QXC.exe", true, "/d/n.prc", kWithQxc},
       "/opt/qx/QXC.exe Already running",
       ""},
      {"all pass", {"QXC.exe", true, "/d/my file.prc", {}}, "", "QXC.exe -r '/d/my file.prc'"},
  };
  for (const Case& c : cases) {
    const StartDecision d = CheckStart(c.facts, ShellDialect::Posix);
    EXPECT_EQ(d.refusal, c.refusal) << c.what;
    EXPECT_EQ(d.commandLine, c.line) << c.what;
    EXPECT_EQ(d.Refused(), std::string(c.refusal) != "") << c.what;
  }
}

TEST(StartCheck, WindowsExampleLine) {
  const StartDecision d = CheckStart({"QXC.exe", true, R"(C:\data\normal.prc)", {}}, ShellDialect::Cmd);
  EXPECT_FALSE(d.Refused());
  EXPECT_EQ(d.commandLine, R"(QXC.exe -r C:\data\normal.prc)");
}

TEST(StartCheck, TooLongLineIsRefusedWithItsLength) {
  const StartDecision d =
      CheckStart({"QXC.exe", true, "/" + std::string(600, 'p') + ".prc", {}}, ShellDialect::Posix);
  ASSERT_TRUE(d.Refused());
  EXPECT_TRUE(d.commandLine.empty());
  EXPECT_EQ(d.refusal, CommandLineTooLongMessage(7 + 4 + 605));
  EXPECT_EQ(d.refusal, "Command line too long (616 characters, at most 511)");
}

TEST(ProcessMatch, ExecutableFileNameByteForByte) {
  struct Case {
    const char* name;
    std::vector<ProcessEntry> processes;
    bool running;
  } cases[] = {
      {"QXC.exe", {{"QXC.exe"}}, true},
      {"QXC.exe", {{"bash"}, {"QXC.exe"}}, true},
      {"QXC.exe", {{"qxc.exe"}, {"QXC.EXE"}}, false},
      {"QXC.exe", {}, false},
      {R"(C:\QX\QXC.exe)", {{"QXC.exe"}}, true},
      {"/opt/qx/QXC.exe", {{"QXC.exe"}}, true},
      {"/opt/qx/QXC.exe", {{"qx"}}, false},
      {"a-very-long-program-name", {{"a-very-long-pro"}}, false},  // the kernel's cut name
      {"", {{""}}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsProcessRunning(c.name, c.processes), c.running) << c.name;
}

}  // namespace
}  // namespace varnok
