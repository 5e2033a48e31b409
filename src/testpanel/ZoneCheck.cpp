#include "testpanel/ZoneCheck.h"

namespace varnok {

std::string SetZoneCheck(const std::string& programName,
                         const std::function<bool(const std::string&)>& isProcessRunning) {
  const bool running = isProcessRunning && isProcessRunning(programName);
  return running ? "Yes" : "NO";
}

}  // namespace varnok
