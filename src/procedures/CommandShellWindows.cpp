// The command interpreter on Windows: the program named by COMSPEC, or CMD.EXE found along the
// PATH, started with "/c" and the command line as it stands, in the working folder.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "procedures/CommandShell.h"

namespace varnok {

namespace {

std::string Interpreter() {
  char buffer[MAX_PATH + 1];
  const DWORD n = ::GetEnvironmentVariableA("COMSPEC", buffer, sizeof buffer);
  if (n > 0 && n < sizeof buffer) return std::string(buffer, n);
  const DWORD found = ::SearchPathA(nullptr, "CMD.EXE", nullptr, sizeof buffer, buffer, nullptr);
  if (found > 0 && found < sizeof buffer) return std::string(buffer, found);
  return {};
}

class WindowsCommandShell : public CommandShell {
 public:
  WindowsCommandShell(std::filesystem::path workingFolder, std::chrono::milliseconds waitLimit)
      : folder_(std::filesystem::absolute(workingFolder).string()), waitLimit_(waitLimit) {}

  void RunShellCommand(const std::string& commandLine) override {
    const std::string interpreter = Interpreter();
    if (interpreter.empty()) return;  // nothing runs, nothing is reported
    // CreateProcess may write into the command line: give it a buffer of its own.
    std::string text = "\"" + interpreter + "\" /c " + commandLine;
    std::vector<char> line(text.begin(), text.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(interpreter.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder_.c_str(), &startup, &process))
      return;
    ::WaitForSingleObject(process.hProcess, static_cast<DWORD>(waitLimit_.count()));
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }

 private:
  std::string folder_;
  std::chrono::milliseconds waitLimit_;
};

}  // namespace

std::unique_ptr<CommandShell> MakeSystemShell(std::filesystem::path workingFolder,
                                              std::chrono::milliseconds waitLimit) {
  return std::make_unique<WindowsCommandShell>(std::move(workingFolder), waitLimit);
}

}  // namespace varnok
