#pragma once
#include <string>

namespace varnok {

// The formatted-output patterns of the calibration table's double columns, always written with the
// full stop whatever the user's locale.

// "%.<decimals>f"
std::string FormatPointFixed(double value, int decimals);

// "%.<decimals>E": one digit, the point, `decimals` digits, "E", the exponent's sign and at least two
// exponent digits. With `zeroPadWidth` > 0 it is "%#0<width>.<decimals>E": zeros are put between the
// sign and the first digit until the text is `zeroPadWidth` characters long (infinities and NaNs are
// padded with blanks in front instead).
std::string FormatPointExponent(double value, int decimals, int zeroPadWidth = 0);

}  // namespace varnok
