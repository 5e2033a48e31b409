#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "CalibrationParser.h"

namespace varnok {

// The whole content of a file, or nothing when it cannot be opened or read. `buffer` may bring memory
// of an earlier text to read into.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string buffer = {});

// Reads a calibration file in large blocks and parses it as it streams in, without holding the whole
// text. Nothing when the file cannot be opened or read.
// `spare` is point storage of an earlier result to fill again (see CalibrationParser::ReuseStorage).
std::optional<CalibrationParseResult> ReadCalibrationFile(const std::filesystem::path& path,
                                                          std::size_t blockSize = std::size_t{1} << 20,
                                                          std::vector<CalibrationSeries> spare = {});

}  // namespace varnok
