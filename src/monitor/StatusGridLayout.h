#pragma once
#include <string>

namespace varnok {

// The status grid: 2 columns, 15 rows; row 0 is the header, column 0 the labels, column 1 the values
// that the status poll writes.
inline constexpr int kStatusGridRows = 15;
inline constexpr int kStatusGridColumns = 2;
inline constexpr int kStatusGridColumnWidth = 200;

// The header row and the label column as comma lists, as the main window puts them in at start-up.
std::string StatusGridHeaderList();
std::string StatusGridLabelList();

}  // namespace varnok
