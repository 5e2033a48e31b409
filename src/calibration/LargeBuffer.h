#pragma once
#include <cstddef>
#include <vector>

namespace varnok {

// A buffer reserved but not yet written.
struct LargeBufferSpan {
  void* data;
  std::size_t bytes;
};

// Tells the system that large buffers, reserved but not yet written, are about to be filled from start
// to end: where the platform can, it backs them with memory at once, in large pages where buffers lie
// side by side, instead of one small page at a time as they fill (on some machines each first touch of
// a small page costs tens of microseconds, most of the time of reading a long file into fresh memory).
// Only advice: the buffers work the same without it, and their contents do not change. One
// implementation per platform.
void PrepareLargeBuffers(const std::vector<LargeBufferSpan>& buffers);

}  // namespace varnok
