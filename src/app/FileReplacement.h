#pragma once
#include <filesystem>
#include <string_view>

namespace varnok {

// Replaces the whole contents of `file` so that a failure at any point leaves the old file whole:
// a new file is written beside it, flushed to the disk and then put in its place. An existing file's
// permissions are kept. False when any step fails (the new file is then removed).
// One implementation file per platform.
bool ReplaceFileContents(const std::filesystem::path& file, std::string_view content);

}  // namespace varnok
