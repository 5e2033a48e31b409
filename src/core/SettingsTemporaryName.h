#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace varnok {

// The name of the temporary file a save writes beside the settings file before renaming it over:
// hidden, naming the settings file and the saving process, then six characters for mkstemp.
std::string SettingsTemporaryPattern(std::string_view fileName, long processId);

// The process that wrote `candidate` when it is a temporary of `fileName`'s save, else nothing.
std::optional<long> SettingsTemporaryOwner(std::string_view fileName, std::string_view candidate);

}  // namespace varnok
