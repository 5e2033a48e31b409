#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace varnok {

// The names of the ordinary, not hidden files of `folder` matching "*.prc" with letter case
// ignored, sorted by name (letter case ignored). An unreadable folder gives an empty list.
std::vector<std::string> ListProcedureFiles(const std::filesystem::path& folder);

// The lines of a procedure file (line ends CR LF or LF). Throws AppError "Cannot open file <path>"
// when it cannot be read.
std::vector<std::string> ReadProcedureLines(const std::filesystem::path& file);

// True when a regular file named `programName` exists in `folder` (a name with a folder part is
// taken as it stands).
bool ProgramFileExists(const std::filesystem::path& folder, const std::string& programName);

}  // namespace varnok
