#include "LargeBuffer.h"

#include <sys/mman.h>

#include <cstdint>

namespace varnok {

void AdviseLargeBuffer(void* data, std::size_t bytes) {
  // Transparent huge pages work on whole 2 MiB blocks inside the buffer.
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kHugePage - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace varnok
