#include "LargeBuffer.h"

namespace varnok {

// Large pages need a privilege that ordinary users lack on Windows, and committed memory is backed as
// it is touched: the buffers stay as they are.
void PrepareLargeBuffers(const std::vector<LargeBufferSpan>&) {}

}  // namespace varnok
