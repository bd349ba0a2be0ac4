// Pages of a large block a load fills at once, mapped in one call: on a
// virtual machine each page faulted in on its own costs a fault the
// hypervisor sees, tens of thousands for a list of a million objects. No
// large pages are asked for: where the system compacts memory to give one
// (as it does right after another large process has ended), a load waits
// for it far longer than small pages cost (0.5 s against 0.28 s for a run
// on a POLYLINE of a million vertices).
#pragma once

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/host/ParallelTasks.h"

namespace host {

constexpr size_t kLargePage = 2 << 20;

// Maps the pages of [at, at + bytes) at once, contents kept; nothing where
// the system cannot.
inline void MapPagesAhead(const void* at, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  constexpr uintptr_t kPage = 4096;
  const uintptr_t begin = reinterpret_cast<uintptr_t>(at) & ~(kPage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(at) + bytes + kPage - 1) & ~(kPage - 1);
  if (bytes > 0) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#endif
}

// MapPagesAhead on up to `threads` threads, 4 MB each: a block of tens of
// megabytes mapped on one thread keeps the others waiting while the
// hypervisor hands each page over (2 ms a megabyte after an idle spell),
// where those hand-overs run side by side.
inline void MapPagesAhead(const void* at, size_t bytes, unsigned threads) {
  constexpr size_t kSlice = 2 * kLargePage;
  if (threads < 2 || bytes < 2 * kSlice) return MapPagesAhead(at, bytes);
  const uintptr_t begin = reinterpret_cast<uintptr_t>(at), end = begin + bytes;
  const uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
  const size_t slices = (end - first + kSlice - 1) / kSlice;
  RunTasks(slices + 1, threads, [&](size_t i) {
    // Slice 0 is what lies before the first 2 MB bound.
    const uintptr_t from = i == 0 ? begin : first + (i - 1) * kSlice;
    const uintptr_t to = i == 0 ? first : std::min<uintptr_t>(end, from + kSlice);
    if (to > from) MapPagesAhead(reinterpret_cast<const void*>(from), to - from);
  });
}

}  // namespace host
