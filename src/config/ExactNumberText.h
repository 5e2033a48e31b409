#pragma once
#include <string>

namespace varnok {

// The shortest decimal text (full stop, exponent form where shorter) that the panel's number rule
// reads back to the very same bits: ParseNumberText then single-precision rounding for a float32
// field, ParseNumberText alone for a 64-bit field. A backup written with these texts uploads the
// instrument's own bytes again. Infinities and NaNs have no such text; they come out as "inf" or
// "nan", which the number rule refuses.
std::string ExactFloat32Text(float value);
std::string ExactFloat64Text(double value);

// Whether `text` reads back to exactly `value` under the rules above.
bool ReadsBackAsFloat32(const std::string& text, float value);
bool ReadsBackAsFloat64(const std::string& text, double value);

}  // namespace varnok
