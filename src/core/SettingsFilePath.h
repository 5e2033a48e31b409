#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include "core/SettingsLocation.h"

namespace varnok {

// Chooses the settings file once, at start-up:
// - no parameter: the executable's path with its extension replaced by ".INI" (appended when the
//   executable has none, as on Linux);
// - a first parameter: that name relative to the executable's folder.
// When the program may not write there (an installed program), the same file name in the per-user
// configuration folder is used instead. A prepared file beside the program is then still read: when
// the per-user file does not exist yet, the file beside the program is copied there first (the
// per-user folders are created), and all changes go to the per-user file. When that copy cannot be
// made, the file beside the program is returned: it is read, and the failure to write it at the end
// is reported as any other.
std::filesystem::path SettingsFilePath(const SettingsLocation& location,
                                       const std::optional<std::string>& firstParameter);

}  // namespace varnok
