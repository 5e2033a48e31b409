#include "calibration/AvailableMemory.h"

#include <windows.h>

namespace varnok {

std::uint64_t AvailableMemoryBytes() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return ~std::uint64_t{0};  // unknown: refuse nothing
  return status.ullAvailPhys;
}

}  // namespace varnok
