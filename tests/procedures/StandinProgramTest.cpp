// The panel against the real process list and interpreter: the stand-in measurement program is
// copied into a temporary working folder under a name of its own (so that tests running at the same
// time cannot see each other's copy), started with a procedure file whose path holds
// a blank and shell characters, refused a second time while it runs, and stopped through STOP.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <chrono>
#include <functional>
#include <thread>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/TempFolder.h"
#include "procedures/CommandShell.h"
#include "procedures/ProcedurePanel.h"
#include "procedures/ProcessList.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (done()) return true;
    std::this_thread::sleep_for(20ms);
  }
  return done();
}

int CountRunning(const std::string& name) {
  int n = 0;
  for (const ProcessEntry& p : MakeSystemProcessList()->Snapshot().value_or(std::vector<ProcessEntry>{}))
    n += p.executableName == name;
  return n;
}

TEST(StandinProgram, StartedWithOneArgumentRefusedWhileRunningAndStopped) {
  testing::TempFolder root;
  // A working folder whose name holds a blank and characters the shell would act on.
  const std::filesystem::path work = root.Path() / "site 2;touch injected";
  std::filesystem::create_directory(work);
  const std::string program = "QXC-" + std::to_string(::getpid()) + ".exe";
  std::filesystem::copy_file(QXC_STANDIN_PATH, work / program);
  { std::ofstream(work / "normal.prc") << "scan 1\n"; }
  setenv("QXC_STANDIN_LIFETIME_MS", "20000", 1);
  ASSERT_EQ(CountRunning(program), 0);

  ProcedurePanel panel(work);
  std::vector<std::string> messages;
  panel.SetMessageBox([&](const std::string& m) { messages.push_back(m); });
  panel.SetCommandShell(MakeSystemShell(work, 300ms));
  panel.findChild<QLineEdit*>("QXName")->setText(QString::fromStdString(program));
  auto* list = panel.findChild<QListWidget*>("FileListBox1");
  ASSERT_EQ(list->count(), 1);
  list->setCurrentRow(0);

  panel.findChild<QPushButton*>("PRCStartBtn")->click();
  const std::filesystem::path args = work / "standin-args.txt";
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(args); }));
  std::ifstream in(args);
  std::string a1, a2, rest;
  std::getline(in, a1);
  std::getline(in, a2);
  std::getline(in, rest, '\0');
  EXPECT_EQ(a1, "-r");
  EXPECT_EQ(a2, (work / "normal.prc").string());
  EXPECT_EQ(rest, "");
  EXPECT_FALSE(std::filesystem::exists(work / "injected"));
  EXPECT_FALSE(std::filesystem::exists(root.Path() / "injected"));
  EXPECT_TRUE(messages.empty());
  ASSERT_TRUE(IsProcessRunning(program));

  // Running: refused under its plain name and under a name with a folder part.
  std::filesystem::remove(args);
  panel.findChild<QPushButton*>("PRCStartBtn")->click();
  panel.findChild<QLineEdit*>("QXName")->setText(QString::fromStdString((work / program).string()));
  panel.findChild<QPushButton*>("PRCStartBtn")->click();
  EXPECT_EQ(messages, (std::vector<std::string>{program + " Already running",
                                                (work / program).string() + " Already running"}));
  EXPECT_EQ(CountRunning(program), 1);
  EXPECT_FALSE(std::filesystem::exists(args));

  panel.findChild<QPushButton*>("PRCStopBtn")->click();
  EXPECT_TRUE(WaitUntil([&] { return !IsProcessRunning(program); }));
  EXPECT_TRUE(WaitUntil([&] { return !std::filesystem::exists(work / "STOP"); }));
}

// Another program started under the interpreter's name (its first argument says QXC-....exe, its
// executable is sleep) is not the interpreter, so it must not block Start.
TEST(StandinProgram, AnotherProgramUnderItsNameDoesNotCountAsRunning) {
  const std::string program = "QXC-" + std::to_string(::getpid()) + "-alias.exe";
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::execl("/bin/sleep", program.c_str(), "20", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  const std::string childExe = "/proc/" + std::to_string(child) + "/exe";
  const bool started = WaitUntil([&] {
    std::error_code ec;
    return std::filesystem::read_symlink(childExe, ec).filename() == "sleep";
  });
  const bool aliasRunning = IsProcessRunning(program);
  const bool sleepRunning = IsProcessRunning("/bin/sleep");
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ASSERT_TRUE(started);
  EXPECT_FALSE(aliasRunning);
  EXPECT_TRUE(sleepRunning);
}

}  // namespace
}  // namespace varnok
