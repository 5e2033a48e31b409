#pragma once
#include <cstddef>

namespace varnok {

// Tells the system that a large buffer, reserved but not yet written, will be filled from start to end:
// where the platform can, it backs it with large pages so that filling it costs far fewer page faults.
// Only advice: the buffer works the same without it. One implementation per platform.
void AdviseLargeBuffer(void* data, std::size_t bytes);

}  // namespace varnok
