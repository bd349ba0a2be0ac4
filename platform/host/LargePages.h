// Large pages for a large block a load fills at once: on a virtual machine
// each small page costs a fault the hypervisor sees when it is first
// written, tens of thousands for a list of a million objects.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace host {

// Asks for large pages on the whole 2 MB pages inside [at, at + bytes) not
// yet written; a hint, without effect where the system gives none.
inline void HintLargePages(const void* at, size_t bytes) {
#ifdef MADV_HUGEPAGE
  constexpr uintptr_t kLarge = 2 << 20;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(at) + kLarge - 1) & ~(kLarge - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(at) + bytes) & ~(kLarge - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)at;
  (void)bytes;
#endif
}

}  // namespace host
