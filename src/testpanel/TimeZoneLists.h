#pragma once
#include <string>
#include <vector>

namespace varnok {

// The items of the date and zone lists of the system configuration page.
std::vector<std::string> MonthItems();

// Time-zone names as the zone list stores them: four blanks, the name in double quotes and a comma.
// The last item, Pacific/Tongatapu, has no closing quote and no comma.
std::vector<std::string> TimeZoneItems();

// The initial texts of the page's lists and edits.
inline constexpr const char* kInitialMonth = "Jan";
inline constexpr const char* kInitialDay = "1";
inline constexpr const char* kInitialYear = "2012";
inline constexpr const char* kInitialZone = "GMT";

}  // namespace varnok
