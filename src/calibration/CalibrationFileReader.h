#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "CalibrationParser.h"

namespace varnok {

// The whole content of a file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Reads a calibration file in large blocks and parses it as it streams in, without holding the whole
// text. Nothing when the file cannot be opened or read.
std::optional<CalibrationParseResult> ReadCalibrationFile(const std::filesystem::path& path,
                                                          std::size_t blockSize = std::size_t{1} << 20);

}  // namespace varnok
