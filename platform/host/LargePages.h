// Large pages for a large block a load fills at once: on a virtual machine
// each small page costs a fault the hypervisor sees when it is first
// written, tens of thousands for a list of a million objects.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace host {

constexpr size_t kLargePage = 2 << 20;

// Asks for large pages on the whole 2 MB pages inside [at, at + bytes) not
// yet written; a hint, without effect where the system gives none.
inline void HintLargePages(const void* at, size_t bytes) {
#ifdef MADV_HUGEPAGE
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(at) + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(at) + bytes) & ~(kLargePage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)at;
  (void)bytes;
#endif
}

// Hints a fresh block as large pages and maps all its pages at once,
// contents kept: on a virtual machine the fault of each small page written
// for the first time costs about as much as writing a whole large page,
// where mapping them in one call costs little. Nothing where the system
// cannot.
inline void MapPagesAhead(const void* at, size_t bytes) {
  HintLargePages(at, bytes);
#ifdef MADV_POPULATE_WRITE
  constexpr uintptr_t kPage = 4096;
  const uintptr_t begin = reinterpret_cast<uintptr_t>(at) & ~(kPage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(at) + bytes + kPage - 1) & ~(kPage - 1);
  if (bytes > 0) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#endif
}

}  // namespace host
