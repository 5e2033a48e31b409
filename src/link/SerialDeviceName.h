#pragma once
#include <string>
#include <string_view>

namespace varnok {

// The device that an address text beginning "COM" (any letter case) or "/dev/" names on this platform.
// One implementation file per platform.
std::string SerialDeviceName(std::string_view addressText);

}  // namespace varnok
