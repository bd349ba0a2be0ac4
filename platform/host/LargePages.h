// Large pages for a large block a load fills at once: on a virtual machine
// each small page costs a fault the hypervisor sees when it is first
// written, tens of thousands for a list of a million objects.
#pragma once

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/host/ParallelTasks.h"

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

// Maps the pages of [at, at + bytes) at once, contents kept; nothing where
// the system cannot.
inline void PopulatePages(const void* at, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  constexpr uintptr_t kPage = 4096;
  const uintptr_t begin = reinterpret_cast<uintptr_t>(at) & ~(kPage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(at) + bytes + kPage - 1) & ~(kPage - 1);
  if (bytes > 0) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#endif
}

// Hints a fresh block as large pages and maps all its pages at once: on a
// virtual machine the fault of each small page written for the first time
// costs about as much as writing a whole large page, where mapping them in
// one call costs little.
inline void MapPagesAhead(const void* at, size_t bytes) {
  HintLargePages(at, bytes);
  PopulatePages(at, bytes);
}

// MapPagesAhead on up to `threads` threads, a slice of whole large pages
// each: a block of tens of megabytes mapped on one thread keeps the others
// waiting while the hypervisor hands each page over (2 ms a megabyte after
// an idle spell), where those hand-overs run side by side.
inline void MapPagesAhead(const void* at, size_t bytes, unsigned threads) {
  constexpr size_t kSlice = 2 * kLargePage;
  if (threads < 2 || bytes < 2 * kSlice) return MapPagesAhead(at, bytes);
  HintLargePages(at, bytes);
  const uintptr_t begin = reinterpret_cast<uintptr_t>(at), end = begin + bytes;
  const uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
  const size_t slices = (end - first + kSlice - 1) / kSlice;
  RunTasks(slices + 1, threads, [&](size_t i) {
    // Slice 0 is the small pages before the first large page's bound.
    const uintptr_t from = i == 0 ? begin : first + (i - 1) * kSlice;
    const uintptr_t to = i == 0 ? first : std::min<uintptr_t>(end, from + kSlice);
    if (to > from) PopulatePages(reinterpret_cast<const void*>(from), to - from);
  });
}

}  // namespace host
