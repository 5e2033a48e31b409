#pragma once
#include <string>
#include <string_view>

namespace varnok {

// Serial device naming on this platform. One implementation file per platform.

// Whether an address text names a serial device by its path (used as it is).
bool IsSerialDevicePath(std::string_view addressText);

// The device that an address text beginning "COM" (any letter case), or a device path, names.
std::string SerialDeviceName(std::string_view addressText);

}  // namespace varnok
