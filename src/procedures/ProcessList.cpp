#include "procedures/ProcessList.h"

#include "procedures/CommandLines.h"

namespace varnok {

bool IsProcessRunning(std::string_view programName, const std::vector<ProcessEntry>& processes) {
  const std::string_view name = ProgramFileName(programName);
  if (name.empty()) return false;
  for (const ProcessEntry& p : processes) {
    if (p.executableName == name) return true;
  }
  return false;
}

bool IsProcessRunning(std::string_view programName, const ProcessList& list) {
  const auto snapshot = list.Snapshot();
  return snapshot && IsProcessRunning(programName, *snapshot);
}

bool IsProcessRunning(std::string_view programName) {
  return IsProcessRunning(programName, *MakeSystemProcessList());
}

}  // namespace varnok
