#include "core/SettingsFilePath.h"

#include <system_error>

namespace varnok {

namespace {

// Copies a prepared file beside the program to the per-user place, unless a per-user file exists
// already. False when a prepared file exists but cannot be copied.
bool SeedFromBeside(const std::filesystem::path& beside, const std::filesystem::path& userFile) {
  std::error_code ec;
  if (std::filesystem::exists(userFile, ec) || !std::filesystem::is_regular_file(beside, ec)) return true;
  std::filesystem::create_directories(userFile.parent_path(), ec);
  ec.clear();
  std::filesystem::copy_file(beside, userFile, std::filesystem::copy_options::skip_existing, ec);
  if (ec) return false;
  // A read-only prepared file must not make its per-user copy read-only.
  std::filesystem::permissions(userFile,
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add, ec);
  return true;
}

}  // namespace

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
  const std::filesystem::path userFile = location.UserConfigFolder() / relative;
  return SeedFromBeside(beside, userFile) ? userFile : beside;
}

}  // namespace varnok
