#pragma once
#include <cstdint>

namespace varnok {

// The memory the program can still take without pushing other programs out: what the system reports
// as available, and no more than its limit for this program where it sets one. One implementation per
// platform.
std::uint64_t AvailableMemoryBytes();

}  // namespace varnok
