#include "SettingsFilePath.h"

namespace varnok {

std::filesystem::path SettingsFilePath(const SettingsLocation& location,
                                       const std::optional<std::string>& firstParameter) {
  const std::filesystem::path executable = location.ExecutablePath();
  std::filesystem::path beside;
  if (firstParameter && !firstParameter->empty()) {
    beside = executable.parent_path() / *firstParameter;
  } else {
    beside = executable;
    beside.replace_extension(".INI");
  }
  if (location.CanWrite(beside)) return beside;
  // Keep what the parameter named below the folder (site2.ini, sub/site.ini ...), never above it.
  std::filesystem::path relative = beside.lexically_relative(executable.parent_path());
  if (relative.empty() || relative.is_absolute() || *relative.begin() == "..") relative = beside.filename();
  return location.UserConfigFolder() / relative;
}

}  // namespace varnok
