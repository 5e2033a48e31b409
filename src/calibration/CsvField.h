#pragma once
#include <string_view>

namespace varnok {

// Field n of a comma-separated line: the characters after the n-th comma (from the start of the line
// for n = 0) up to the next comma or the end of the line, unchanged. A comma always separates fields
// (there is no quoting). A line with fewer than n + 1 fields yields the empty text.
std::string_view CsvField(std::string_view line, int n);

// The text without leading and trailing blanks and control characters.
std::string_view TrimBlanksAndControls(std::string_view text);

}  // namespace varnok
