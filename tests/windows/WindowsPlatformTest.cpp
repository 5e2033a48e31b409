// The Windows command interpreter, process snapshot and settings file place, run for real.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "core/SettingsFilePath.h"
#include "core/SettingsLocation.h"
#include "tests/support/TempFolder.h"
#include "procedures/CommandLines.h"
#include "procedures/CommandShell.h"
#include "procedures/ProcessList.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

fs::path StandinProgram() { return fs::path(QXC_STANDIN_EXE); }

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Sets an environment variable for the scope, then puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    char old[32768];
    const DWORD n = ::GetEnvironmentVariableA(name, old, sizeof old);
    if (n > 0 && n < sizeof old) old_ = std::string(old, n);
    ::SetEnvironmentVariableA(name, value);
  }
  ~ScopedVariable() { ::SetEnvironmentVariableA(name_, old_ ? old_->c_str() : nullptr); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The stand-in measurement program copied into a folder of its own, where it also leaves its record.
fs::path CopyStandin(const testing::TempFolder& folder, const std::string& name) {
  const fs::path copy = folder.Path() / name;
  fs::copy_file(StandinProgram(), copy);
  return copy;
}

TEST(WindowsShell, StopTwiceLeavesOneStopFileThroughCmd) {
  testing::TempFolder folder;
  ScopedVariable noComspec("COMSPEC", nullptr);  // CMD.EXE found along the PATH
  auto shell = MakeSystemShell(folder.Path());
  shell->RunShellCommand(kStopCommandLine);
  const std::string first = ReadText(folder.Path() / "STOP");
  EXPECT_EQ(first, "stop \r\n") << "cmd's echo keeps the blank before the redirection";
  std::ofstream(folder.Path() / "STOP", std::ios::binary | std::ios::app) << "extra";
  shell->RunShellCommand(kStopCommandLine);
  EXPECT_EQ(ReadText(folder.Path() / "STOP"), first) << "the second run overwrites the first";
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder.Path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST(WindowsShell, ComspecNamesTheInterpreterWhichGetsSlashCAndTheLineAsItStands) {
  testing::TempFolder folder;
  const fs::path interpreter = CopyStandin(folder, "interp.exe");
  ScopedVariable comspec("COMSPEC", interpreter.string().c_str());
  ScopedVariable lifetime("QXC_STANDIN_LIFETIME_MS", "200");
  const std::string line = "QXC.exe -r C:\\data\\normal.prc";
  MakeSystemShell(folder.Path())->RunShellCommand(line);
  // The stand-in writes its arguments, one per line, beside itself before it waits for STOP.
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!fs::exists(folder.Path() / "standin-args.txt") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_EQ(ReadText(folder.Path() / "standin-args.txt"), "/c\nQXC.exe\n-r\nC:\\data\\normal.prc\n");
}

TEST(WindowsShell, WaitForTheInterpreterIsBounded) {
  testing::TempFolder folder;
  const fs::path interpreter = CopyStandin(folder, "interp.exe");
  ScopedVariable comspec("COMSPEC", interpreter.string().c_str());
  ScopedVariable lifetime("QXC_STANDIN_LIFETIME_MS", "4000");
  const auto before = std::chrono::steady_clock::now();
  MakeSystemShell(folder.Path(), 300ms)->RunShellCommand("anything");
  const auto waited = std::chrono::steady_clock::now() - before;
  EXPECT_GE(waited, 250ms) << "the shell waits for the interpreter";
  EXPECT_LT(waited, 2500ms) << "but not past its limit";
  std::ofstream(folder.Path() / "STOP") << "stop\n";  // ends the stand-in
}

class RunningStandin {
 public:
  explicit RunningStandin(const fs::path& program) : folder_(program.parent_path()) {
    std::wstring line = L"\"" + program.wstring() + L"\" -i";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &process_);
  }
  ~RunningStandin() {
    if (!started_) return;
    std::ofstream(folder_ / "STOP") << "stop\n";
    if (::WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0)
      ::TerminateProcess(process_.hProcess, 1);
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
  }
  bool Started() const { return started_; }

 private:
  fs::path folder_;
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

TEST(WindowsProcessList, FindsARunningStandinByItsExactName) {
  testing::TempFolder folder;
  ScopedVariable lifetime("QXC_STANDIN_LIFETIME_MS", "20000");
  EXPECT_FALSE(IsProcessRunning("qxc-standin.exe")) << "nothing of that name runs yet";
  RunningStandin standin(CopyStandin(folder, "qxc-standin.exe"));
  ASSERT_TRUE(standin.Started());
  const auto snapshot = MakeSystemProcessList()->Snapshot();
  ASSERT_TRUE(snapshot.has_value());
  EXPECT_TRUE(IsProcessRunning("qxc-standin.exe", *snapshot));
  const struct {
    const char* name;
    bool found;
  } cases[] = {
      {"QXC-STANDIN.EXE", false},         // letter case counts
      {"qxc-standin", false},             // the extension is part of the name
      {"qxc-standin.ex", false},          // no prefix match
      {"C:\\QX\\qxc-standin.exe", true},  // a folder part is ignored
  };
  for (const auto& c : cases) EXPECT_EQ(IsProcessRunning(c.name, *snapshot), c.found) << c.name;
}

TEST(WindowsSettingsPlace, TheIniFileBesideTheExecutable) {
  const auto location = MakeSystemSettingsLocation();
  wchar_t own[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, own, MAX_PATH);
  ASSERT_GT(n, 0u);
  const fs::path exe(std::wstring(own, n));
  ASSERT_EQ(location->ExecutablePath(), exe);
  EXPECT_EQ(SettingsFilePath(*location, std::nullopt), exe.parent_path() / "windows_platform_tests.INI");
  EXPECT_EQ(SettingsFilePath(*location, std::string("site2.ini")), exe.parent_path() / "site2.ini");
}

}  // namespace
}  // namespace varnok
