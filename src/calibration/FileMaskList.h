#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// Whether a file name matches a wildcard mask ("*" any run of characters, "?" one character), letter
// case ignored.
bool MatchesFileMask(std::string_view name, std::string_view mask);

// The names of the ordinary files of a folder (no folders, no hidden or system files) that match the
// mask, sorted by name. An unreadable folder gives an empty list.
std::vector<std::string> ListFilesByMask(const std::filesystem::path& folder, std::string_view mask);

}  // namespace varnok
