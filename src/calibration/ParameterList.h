#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// One row of the parameter list: the text before the first "=" and the text after it. A line without
// "=" gives an empty parameter and the whole line as value.
struct ParameterRow {
  std::string parameter;
  std::string value;

  bool operator==(const ParameterRow&) const = default;
};

ParameterRow ParseParameterLine(std::string_view line);

// One row per line of the text (lines end at CR LF, LF or CR).
std::vector<ParameterRow> ParseParameterText(std::string_view text);

// The rows of a parameter file such as status.csv, in UTF-8, or nothing when it cannot be opened.
std::optional<std::vector<ParameterRow>> ReadParameterFile(const std::filesystem::path& path);

}  // namespace varnok
