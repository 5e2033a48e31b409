#pragma once
#include <filesystem>
#include <string_view>

namespace varnok {

// Replaces the whole contents of `file` so that a failure at any point leaves the old file whole:
// a new file is written beside it, flushed to the disk and then put in its place. An existing file's
// permissions are kept. False when any step fails (the new file is then removed).
// One implementation file per platform.
// The temporary file is named by SettingsTemporaryPattern, so that a later start can tell the program's
// own leftovers from the user's files.
bool ReplaceFileContents(const std::filesystem::path& file, std::string_view content);

// This process's identifier, and whether the process with another identifier still runs.
long CurrentProcessId();
bool ProcessStillRuns(long processId);

}  // namespace varnok
