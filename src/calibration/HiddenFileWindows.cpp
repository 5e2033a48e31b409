#include <windows.h>

#include "calibration/HiddenFile.h"

namespace varnok {

bool IsHiddenOrSystemFile(const std::filesystem::directory_entry& entry) {
  const DWORD attributes = ::GetFileAttributesW(entry.path().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

}  // namespace varnok
