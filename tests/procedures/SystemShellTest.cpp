// The Linux command interpreter and process list, run for real in a temporary folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "tests/support/TempFolder.h"
#include "procedures/CommandLines.h"
#include "procedures/CommandShell.h"
#include "procedures/ProcessList.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;

TEST(SystemShell, StopTwiceLeavesOneStopFile) {
  testing::TempFolder folder;
  auto shell = MakeSystemShell(folder.Path());
  shell->RunShellCommand(kStopCommandLine);
  ASSERT_EQ(folder.Read("STOP"), "stop\n");
  shell->RunShellCommand(kStopCommandLine);
  EXPECT_EQ(folder.Read("STOP"), "stop\n");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST(SystemShell, ProgramInTheWorkingFolderIsFoundFirst) {
  testing::TempFolder folder;
  // A program of the same name as a system one: the working folder's copy must win.
  const auto script = folder.Write("uname", "#!/bin/sh\necho \"$@\" > ran.txt\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  MakeSystemShell(folder.Path())->RunShellCommand("uname -r one");
  EXPECT_EQ(folder.Read("ran.txt"), "-r one\n");
}

TEST(SystemShell, WaitForTheInterpreterIsBounded) {
  testing::TempFolder folder;
  auto shell = MakeSystemShell(folder.Path(), 100ms);
  const auto before = std::chrono::steady_clock::now();
  shell->RunShellCommand("sleep 3; echo late > late.txt");
  const auto waited = std::chrono::steady_clock::now() - before;
  EXPECT_LT(waited, 2500ms);
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "late.txt"));
}

TEST(SystemProcessList, FindsThisTestByItsExecutableName) {
  const auto snapshot = MakeSystemProcessList()->Snapshot();
  ASSERT_TRUE(snapshot.has_value());
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").filename().string();
  EXPECT_TRUE(IsProcessRunning(self, *snapshot));
  EXPECT_TRUE(IsProcessRunning("/some/folder/" + self));
  EXPECT_FALSE(IsProcessRunning(self + "-not-running"));
}

}  // namespace
}  // namespace varnok
