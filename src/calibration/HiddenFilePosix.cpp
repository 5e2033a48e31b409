#include "calibration/HiddenFile.h"

namespace varnok {

// On POSIX systems a name beginning with a full stop marks a hidden file; there are no system files.
bool IsHiddenOrSystemFile(const std::filesystem::directory_entry& entry) {
  const std::string name = entry.path().filename().string();
  return !name.empty() && name.front() == '.';
}

}  // namespace varnok
