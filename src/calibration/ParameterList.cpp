#include "calibration/ParameterList.h"

#include "calibration/CalibrationFileReader.h"
#include "calibration/LineSplitter.h"
#include "core/InstrumentText.h"

namespace varnok {

ParameterRow ParseParameterLine(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {std::string(), std::string(line)};
  return {std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))};
}

std::vector<ParameterRow> ParseParameterText(std::string_view text) {
  std::vector<ParameterRow> rows;
  ForEachLine(text, [&rows](std::string_view line) { rows.push_back(ParseParameterLine(line)); });
  return rows;
}

std::optional<std::vector<ParameterRow>> ReadParameterFile(const std::filesystem::path& path) {
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return std::nullopt;
  // The file's bytes as text: UTF-8 when they are valid UTF-8, otherwise Windows-1252.
  return ParseParameterText(InstrumentTextToUtf8(*text));
}

}  // namespace varnok
