// A hint that memory is about to be read. Loops over many records are bound
// by memory latency, not by work: a record's fields, its chain holder and
// its chain nodes each miss the cache, one after another. Hinting the
// records some steps ahead lets their misses overlap with the work on the
// current one.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kCacheLineBytes = 64;

// The cache lines of bytes bytes from at. A prefetch never faults, so any
// address will do, null included; the address is stepped as an integer, as
// a pointer may not be (and a loop of prefetches behind a null test is
// dropped as doing nothing by GCC 12).
inline void PrefetchBytes(const void* at, size_t bytes) {
  const auto base = reinterpret_cast<uintptr_t>(at);
  for (size_t k = 0; k < bytes; k += kCacheLineBytes) __builtin_prefetch(reinterpret_cast<const void*>(base + k));
}
