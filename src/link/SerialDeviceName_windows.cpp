#include "link/SerialDeviceName.h"

namespace varnok {

// Windows names serial ports COM1, COM2, ...; the device namespace prefix reaches ports above COM9 too.
bool IsSerialDevicePath(std::string_view addressText) { return addressText.starts_with("\\\\.\\"); }

std::string SerialDeviceName(std::string_view addressText) {
  if (IsSerialDevicePath(addressText)) return std::string(addressText);
  return "\\\\.\\" + std::string(addressText);
}

}  // namespace varnok
