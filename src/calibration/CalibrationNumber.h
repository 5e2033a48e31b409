#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace varnok {

// The integer that begins a data line: leading blanks skipped, an optional sign and the following
// decimal digits, stopping at the first other character. Without digits the value is 0. Values beyond
// the 64-bit range saturate.
std::int64_t ReadLeadingInteger(std::string_view line);

// A value field of a calibration file (already trimmed) read as a decimal number: optional sign,
// digits, full stop, digits, optional exponent. The full stop is the separator whatever the user's
// locale, because the comma always separates fields in these files. Returns nothing when the whole
// text is not such a number.
std::optional<double> ReadCalibrationValue(std::string_view text);

}  // namespace varnok
