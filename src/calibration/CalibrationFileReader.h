#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace varnok {

// The whole content of a short file such as status.csv, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace varnok
