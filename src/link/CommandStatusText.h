#pragma once
#include <cstdint>
#include <string>

namespace varnok {

// The outcome of a write command as the third status panel shows it: "OK"; "Problems:" and the
// reply's one byte as a signed number when the instrument refused; "Not Connected" for a result
// below 1. A reply of more than one byte is "OK" whatever it holds.
inline std::string CommandStatusText(int result, const std::uint8_t* reply) {
  if (result < 1) return "Not Connected";
  if (result == 1 && reply[0] != 0) return "Problems:" + std::to_string(static_cast<std::int8_t>(reply[0]));
  return "OK";
}

}  // namespace varnok
