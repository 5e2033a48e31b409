#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// One running process as the process list reports it: the file name (no folder) of its executable.
// The first argument is not used: any program may be started under any name there, and a different
// program started as "QXC.exe" is not the interpreter.
struct ProcessEntry {
  std::string executableName;
};

// The platform's list of running processes (one implementation file per platform).
class ProcessList {
 public:
  virtual ~ProcessList() = default;
  // The running processes in the order the system lists them; std::nullopt when no snapshot can be
  // taken.
  virtual std::optional<std::vector<ProcessEntry>> Snapshot() const = 0;
};

// The list of the system this program runs on.
std::unique_ptr<ProcessList> MakeSystemProcessList();

// True when some process's executable has the file name of `programName` (a folder part in the name is
// ignored), compared byte for byte, letter case significant.
bool IsProcessRunning(std::string_view programName, const std::vector<ProcessEntry>& processes);

// The same against a fresh snapshot; false when none can be taken.
bool IsProcessRunning(std::string_view programName, const ProcessList& list);
bool IsProcessRunning(std::string_view programName);

}  // namespace varnok
