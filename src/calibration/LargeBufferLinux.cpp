#include "LargeBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace varnok {

namespace {
#ifdef MADV_COLLAPSE
constexpr int kCollapse = MADV_COLLAPSE;
#else
constexpr int kCollapse = 25;  // the value Linux gives it; older kernels refuse it
#endif
}  // namespace

void PrepareLargeBuffers(const std::vector<LargeBufferSpan>& buffers) {
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  if (page == 0 || (page & (page - 1)) != 0) return;
  struct Run {
    std::uintptr_t begin;
    std::uintptr_t end;
  };
  // The whole pages each buffer lies on.
  std::vector<Run> runs;
  runs.reserve(buffers.size());
  for (const LargeBufferSpan& buffer : buffers) {
    if (buffer.data == nullptr || buffer.bytes == 0) continue;
    const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data);
    runs.push_back({begin & ~(page - 1), (begin + buffer.bytes + page - 1) & ~(page - 1)});
  }
  // Buffers allocated one after the other usually lie side by side: joined, their runs hold whole
  // large pages that none of them holds alone.
  std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.begin < b.begin; });
  std::vector<Run> joined;
  for (const Run& run : runs) {
    if (!joined.empty() && run.begin <= joined.back().end) {
      joined.back().end = std::max(joined.back().end, run.end);
    } else {
      joined.push_back(run);
    }
  }
  // Transparent huge pages work on whole 2 MiB blocks inside a run.
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  for (const Run& run : joined) {
    const std::uintptr_t first = (run.begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = run.end & ~(kHugePage - 1);
    if (last > first) {
      madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
      // Buffers side by side leave the few small pages their bookkeeping already uses inside these
      // blocks, and a block holding any small page gets no large page as it fills: gather each block
      // into a large page now (Linux 6.1 and later).
      madvise(reinterpret_cast<void*>(first), last - first, kCollapse);
    }
    // Back the run now, in one call, rather than page by page as it fills (Linux 5.14 and later; older
    // kernels refuse the advice and the run fills as before).
    madvise(reinterpret_cast<void*>(run.begin), run.end - run.begin, MADV_POPULATE_WRITE);
  }
}

}  // namespace varnok
