#include "calibration/AvailableMemory.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

namespace varnok {

namespace {

std::uint64_t ReadNumber(const char* file) {
  std::ifstream in(file);
  std::string text;
  if (!(in >> text) || text == "max") return std::numeric_limits<std::uint64_t>::max();
  try {
    return std::stoull(text);
  } catch (...) {
    return std::numeric_limits<std::uint64_t>::max();
  }
}

}  // namespace

std::uint64_t AvailableMemoryBytes() {
  std::uint64_t available = std::numeric_limits<std::uint64_t>::max();
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  std::uint64_t kib = 0;
  std::string unit;
  while (meminfo >> key >> kib >> unit) {
    if (key == "MemAvailable:") {
      available = kib * 1024;
      break;
    }
  }
  // A memory limit of the program's control group (containers, services) counts too.
  const std::uint64_t limit = ReadNumber("/sys/fs/cgroup/memory.max");
  const std::uint64_t used = ReadNumber("/sys/fs/cgroup/memory.current");
  if (limit != std::numeric_limits<std::uint64_t>::max() &&
      used != std::numeric_limits<std::uint64_t>::max()) {
    available = std::min(available, limit > used ? limit - used : 0);
  }
  return available;
}

}  // namespace varnok
