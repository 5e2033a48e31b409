#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace varnok {

// The address text of the IP box as the Connect button reads it.
//   "http..." loses everything up to and including its first "//" (nothing when it has none), and one
//   trailing "/" is dropped from any address: "http://10.0.0.5/" becomes "10.0.0.5".
std::string PrepareAddressText(std::string_view ipText);

struct LinkAddress {
  bool serial = false;      // begins with "COM" in any letter case, or is a device path ("/dev/ttyUSB0")
  std::string device;       // serial: the platform's device name of the text as typed
  std::string host;         // network: the prepared address without a ":port" suffix
  std::optional<int> port;  // network: a ":port" suffix (1..65535) overriding the port box
};

LinkAddress InterpretAddress(std::string_view ipText);

// The port box: a decimal integer (optionally signed). Empty when the text is not an integer.
std::optional<int> ParsePortText(std::string_view text);

}  // namespace varnok
