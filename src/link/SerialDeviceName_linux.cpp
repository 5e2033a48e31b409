#include <charconv>

#include "link/SerialDeviceName.h"

namespace varnok {

// An absolute path: /dev/ttyUSB0, /dev/pts/3, or a link to a device such as the simulator's.
bool IsSerialDevicePath(std::string_view addressText) { return addressText.starts_with('/'); }

// COMn is the n-th serial port, /dev/ttyS(n-1); a device path is used as it is; any other name beginning
// "COM" is looked for under /dev.
std::string SerialDeviceName(std::string_view addressText) {
  if (IsSerialDevicePath(addressText)) return std::string(addressText);
  if (addressText.size() > 3) {
    const auto digits = addressText.substr(3);
    unsigned number = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (ec == std::errc() && end == digits.data() + digits.size() && number >= 1) {
      return "/dev/ttyS" + std::to_string(number - 1);
    }
  }
  return "/dev/" + std::string(addressText);
}

}  // namespace varnok
