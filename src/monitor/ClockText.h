#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace varnok {

// The clock text of a ReadClock reply: bytes 1 to 6 are month, day, year - 2000, hour, minute and
// second, each a signed 8-bit number, shown as "MM/DD/YYYY  hh:mm:ss  UTC". A reply shorter than
// the 7 bytes this needs gives nothing.
std::optional<std::string> ClockText(std::span<const std::uint8_t> reply);

}  // namespace varnok
