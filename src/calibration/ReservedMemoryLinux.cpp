#include "calibration/ReservedMemory.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace varnok {

void* ReserveAddressSpace(std::size_t bytes) {
  // No access and no reserve: the range counts against nothing until it is committed.
  void* at = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  return at == MAP_FAILED ? nullptr : at;
}

bool CommitReservedMemory(void* at, std::size_t bytes) {
  return mprotect(at, bytes, PROT_READ | PROT_WRITE) == 0;
}

void ReleaseAddressSpace(void* at, std::size_t bytes) {
  if (at != nullptr) munmap(at, bytes);
}

void AdviseLargePages(void* at, std::size_t bytes) {
  // A page fault per 4 KiB costs much of the time of filling a long array; 2 MiB pages take 512 times
  // fewer. The advice only changes how the memory is backed.
  madvise(at, bytes, MADV_HUGEPAGE);
}

void AdviseSmallPages(void* at, std::size_t bytes) { madvise(at, bytes, MADV_NOHUGEPAGE); }

void PopulateMemory(void* at, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  madvise(at, bytes, MADV_POPULATE_WRITE);
#else
  madvise(at, bytes, 23);  // the value Linux 5.14 and later give it; older kernels refuse it
#endif
}

std::size_t ReservationGranularity() { return static_cast<std::size_t>(sysconf(_SC_PAGESIZE)); }

}  // namespace varnok

namespace varnok {

void ReturnFreedHeapMemory() {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

}  // namespace varnok
