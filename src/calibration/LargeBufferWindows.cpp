#include "LargeBuffer.h"

namespace varnok {

// Large pages need a privilege that ordinary users lack on Windows: the buffer stays as it is.
void AdviseLargeBuffer(void*, std::size_t) {}

}  // namespace varnok
