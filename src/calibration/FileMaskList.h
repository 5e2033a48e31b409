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
// mask, sorted by name, each as the file system's own name (on Linux its bytes, whatever their
// encoding), so that it opens exactly that file. An unreadable folder gives an empty list.
std::vector<std::filesystem::path> ListFilesByMask(const std::filesystem::path& folder,
                                                   std::string_view mask);

// A file name's bytes for matching and sorting: the native bytes where names are bytes, UTF-8 where
// they are UTF-16.
std::string FileNameBytes(const std::filesystem::path& name);

}  // namespace varnok
