#pragma once
#include <cstddef>

namespace varnok {

// Address space set aside without memory behind it, and memory committed into it step by step, so that
// a growing array stays in one place and uses only what it has been filled with. One implementation per
// platform.

// Sets aside `bytes` of address space with no access and no memory; nullptr when the system refuses.
void* ReserveAddressSpace(std::size_t bytes);
// Makes `bytes` at `at` (inside a reservation, page-aligned) readable and writable. Memory is taken as
// pages are first written. False when the system refuses.
bool CommitReservedMemory(void* at, std::size_t bytes);
// Returns the whole reservation and any memory in it to the system.
void ReleaseAddressSpace(void* at, std::size_t bytes);
// Advice that the committed range will be filled in full: the system may back it with large pages.
void AdviseLargePages(void* at, std::size_t bytes);
// The opposite advice: ordinary pages only, for a range that will be filled only in part.
void AdviseSmallPages(void* at, std::size_t bytes);
// Backs a committed range with memory now, in one call, instead of page by page as it is first written
// (on some machines each first touch of a page costs tens of microseconds). Only advice.
void PopulateMemory(void* at, std::size_t bytes);
std::size_t ReservationGranularity();
// Gives the memory of freed heap blocks back to the system. The heap keeps large freed blocks for
// reuse once it has seen a few, so after a long file the memory would otherwise stay with the program.
void ReturnFreedHeapMemory();

}  // namespace varnok
