#include "monitor/ClockText.h"

#include <cstdio>

namespace varnok {

std::optional<std::string> ClockText(std::span<const std::uint8_t> reply) {
  if (reply.size() < 7) return std::nullopt;
  int f[7];
  for (int i = 1; i <= 6; ++i) f[i] = static_cast<std::int8_t>(reply[i]);
  char text[96];
  std::snprintf(text, sizeof text, "%02d/%02d/%i  %02i:%02i:%02i  UTC", f[1], f[2], 2000 + f[3], f[4], f[5],
                f[6]);
  return std::string(text);
}

}  // namespace varnok
