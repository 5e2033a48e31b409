#pragma once
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace varnok {

// The operating system's command interpreter (one implementation file per platform).
class CommandShell {
 public:
  virtual ~CommandShell() = default;
  // Hands the line to the interpreter and waits until the interpreter has finished, but never longer
  // than the shell's wait limit: an interpreter that still runs then (because it waits for the
  // program it started) is left running. Its exit status is ignored, and an interpreter that cannot
  // be started is not reported. A wait limit of zero hands the line over and returns at once.
  virtual void RunShellCommand(const std::string& commandLine) = 0;
};

// How long RunShellCommand waits for the interpreter at most.
inline constexpr std::chrono::milliseconds kShellWaitLimit{3000};

// The interpreter of the system this program runs on, working in `workingFolder`, where it also
// looks first for the program a line names (as the Windows interpreter looks in the current folder
// before the PATH).
std::unique_ptr<CommandShell> MakeSystemShell(std::filesystem::path workingFolder,
                                              std::chrono::milliseconds waitLimit = kShellWaitLimit);

}  // namespace varnok
