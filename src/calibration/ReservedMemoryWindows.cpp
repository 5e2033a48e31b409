#include "calibration/ReservedMemory.h"

#include <windows.h>

namespace varnok {

void* ReserveAddressSpace(std::size_t bytes) {
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS);
}

bool CommitReservedMemory(void* at, std::size_t bytes) {
  return VirtualAlloc(at, bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void ReleaseAddressSpace(void* at, std::size_t) {
  if (at != nullptr) VirtualFree(at, 0, MEM_RELEASE);
}

// Large pages need a privilege that ordinary users lack on Windows: committed memory stays as it is.
void AdviseLargePages(void*, std::size_t) {}

void AdviseSmallPages(void*, std::size_t) {}

// Committed memory is backed as it is touched.
void PopulateMemory(void*, std::size_t) {}

std::size_t ReservationGranularity() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwAllocationGranularity;
}

}  // namespace varnok

namespace varnok {

// The Windows heap returns large freed blocks to the system by itself.
void ReturnFreedHeapMemory() {}

}  // namespace varnok
