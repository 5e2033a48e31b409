#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ConfigPanel.h"

namespace varnok {

// Section names searched for in a configuration file (contained anywhere in a line, case-sensitive).
inline constexpr std::string_view kCalibrationBlockHeader = "CALIBRATION BLOCK:";
inline constexpr std::string_view kTipHeader = "TIP CONFIGURATION:";
inline constexpr std::string_view kBlowerHeader = "BLOWER SETTINGS:";
inline constexpr std::string_view kCoefHeader = "COEF:";
inline constexpr std::string_view kUserCorrectionsHeader = "USER CORRECTIONS:";

// Splits a text into lines: CR LF, a lone LF or a lone CR ends a line; a line end at the very end
// of the text does not start another line.
std::vector<std::string> SplitConfigLines(std::string_view text);

// Removes every leading and trailing character of code 32 or less.
std::string TrimConfigText(std::string_view text);

// The configuration file's integer rule: optional leading blanks, an optional sign, decimal digits
// and nothing after them, within the signed 32-bit range.
std::optional<std::int32_t> ParseConfigInteger(std::string_view text);

// Index of the first line that contains `header`, or nothing.
std::optional<std::size_t> FindConfigHeader(const std::vector<std::string>& lines, std::string_view header);

// The value `k` lines below the first line containing `header`: the text before the first ":"
// (or before the first pair of blanks), trimmed. Empty when the header or the line is missing, or
// when `k` is negative.
std::string FindConfigValue(const std::vector<std::string>& lines, std::string_view header, std::int64_t k);

// FindConfigValue read with the integer rule; 0 when that fails.
std::int32_t FindConfigInt(const std::vector<std::string>& lines, std::string_view header, std::int64_t k);

// Fills one table row from a calibration table line: items split like a comma list (blanks separate
// items as commas do), all 13 cells cleared first, an empty item becomes one blank, items beyond the
// 13th dropped.
void FillTableRow(std::string_view line, CalibrationRow& row);

enum class ParseOutcome {
  kComplete,
  kBadFrequencyCount,  // NumberOfFreq was not a whole number: the parse ended before the tip section
};

// Updates the panel from the lines of a configuration file. The caller sounds the error tone when
// the outcome is kBadFrequencyCount.
ParseOutcome ParseConfiguration(const std::vector<std::string>& lines, ConfigPanel& panel);

}  // namespace varnok
