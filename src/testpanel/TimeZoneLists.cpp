#include "testpanel/TimeZoneLists.h"

#include <array>
#include <string_view>

namespace varnok {
namespace {

// West to east, starting at the date line.
constexpr std::array<std::string_view, 82> kZoneNames{
    "Pacific/Midway",
    "Pacific/Honolulu",
    "America/Anchorage",
    "America/Los_Angeles",
    "America/Tijuana",
    "America/Phoenix",
    "America/Denver",
    "America/Chihuahua",
    "America/Chicago",
    "America/Mexico_City",
    "America/Regina",
    "America/Guatemala",
    "America/Bogota",
    "America/New_York",
    "America/Indiana/Indianapolis",
    "America/Lima",
    "America/Caracas",
    "America/Halifax",
    "America/La_Paz",
    "America/Santiago",
    "America/St_Johns",
    "America/Sao_Paulo",
    "America/Argentina/Buenos_Aires",
    "America/Nuuk",
    "Atlantic/South_Georgia",
    "Atlantic/Azores",
    "Atlantic/Cape_Verde",
    "Africa/Casablanca",
    "Europe/London",
    "Atlantic/Reykjavik",
    "Europe/Berlin",
    "Europe/Belgrade",
    "Europe/Paris",
    "Europe/Warsaw",
    "Africa/Lagos",
    "Europe/Athens",
    "Europe/Bucharest",
    "Africa/Cairo",
    "Africa/Johannesburg",
    "Europe/Helsinki",
    "Asia/Jerusalem",
    "Asia/Baghdad",
    "Asia/Riyadh",
    "Europe/Moscow",
    "Africa/Nairobi",
    "Asia/Tehran",
    "Asia/Dubai",
    "Asia/Baku",
    "Asia/Kabul",
    "Asia/Yekaterinburg",
    "Asia/Karachi",
    "Asia/Kolkata",
    "Asia/Kathmandu",
    "Asia/Almaty",
    "Asia/Dhaka",
    "Asia/Colombo",
    "Asia/Yangon",
    "Asia/Bangkok",
    "Asia/Novosibirsk",
    "Asia/Shanghai",
    "Asia/Krasnoyarsk",
    "Asia/Singapore",
    "Australia/Perth",
    "Asia/Taipei",
    "Asia/Irkutsk",
    "Asia/Tokyo",
    "Asia/Seoul",
    "Asia/Yakutsk",
    "Australia/Adelaide",
    "Australia/Darwin",
    "Australia/Brisbane",
    "Australia/Sydney",
    "Pacific/Guam",
    "Australia/Hobart",
    "Asia/Vladivostok",
    "Asia/Magadan",
    "Pacific/Noumea",
    "Pacific/Auckland",
    "Pacific/Fiji",
    "Asia/Kamchatka",
    "Pacific/Majuro",
    "Pacific/Tongatapu",
};

}  // namespace

std::vector<std::string> MonthItems() {
  return {"Jan", "Feb", "Mar", "April", "May", "June", "July", "Aug", "Sept", "Oct", "Nov", "Dec"};
}

std::vector<std::string> TimeZoneItems() {
  std::vector<std::string> items;
  items.reserve(kZoneNames.size());
  for (std::size_t i = 0; i < kZoneNames.size(); ++i) {
    std::string item = "    \"" + std::string(kZoneNames[i]);
    if (i + 1 < kZoneNames.size()) item += "\",";
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace varnok
