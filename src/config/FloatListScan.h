#pragma once
#include <string_view>
#include <vector>

namespace varnok {

// A formatted scan of `count` single-precision numbers separated by commas, as "%f,%f" does: each
// number may be preceded by white space, the comma must follow the number directly, and the scan
// stops at the first mismatch without an error. Returns the numbers found, in order (possibly
// fewer than `count`). The decimal separator is always the full stop, whatever the user's locale.
std::vector<float> ScanFloatList(std::string_view text, int count);

}  // namespace varnok
