#include "common/SlabPool.h"

#include <sanitizer/asan_interface.h>
#include <sys/mman.h>

#include <cstdint>
#include <new>

#include "common/Prefetch.h"

namespace {

size_t RoundUp(size_t n, size_t to) { return (n + to - 1) / to * to; }

}  // namespace

// Not from the heap: a hint on part of the heap would spread to what the
// heap maps next to it.
void* MapSlab() {
  const size_t bytes = SlabPool::kSlabBytes;
  void* mapped = mmap(nullptr, 2 * bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto begin = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = (begin + bytes - 1) / bytes * bytes;
  if (aligned > begin) munmap(mapped, aligned - begin);
  if (aligned + bytes < begin + 2 * bytes)
    munmap(reinterpret_cast<void*>(aligned + bytes), begin + 2 * bytes - (aligned + bytes));
  void* slab = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  // Only a hint: where the system keeps no large pages the slab still
  // holds its objects side by side.
  madvise(slab, bytes, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
  // Faulted in at once: where no large page is to be had, the slab would
  // otherwise take a fault for each of its small pages as it fills. Only a
  // hint too (older systems refuse it).
  madvise(slab, bytes, MADV_POPULATE_WRITE);
#endif
  return slab;
}

void UnmapSlab(void* slab) { munmap(slab, SlabPool::kSlabBytes); }

SlabPool::SlabPool(size_t objectBytes, size_t alignBytes)
    : slotBytes_(RoundUp(objectBytes < sizeof(FreeSlot) ? sizeof(FreeSlot) : objectBytes,
                         alignBytes < alignof(FreeSlot) ? alignof(FreeSlot) : alignBytes)) {}

size_t SlabPool::SlabCount() const {
  return slabs_.size();
}

void SlabPool::NextSlab() {
  if (slab_ == slabs_.size()) {
    slabs_.reserve(slabs_.size() + 1);
    void* slab = MapSlab();
    // Under AddressSanitizer, room not handed out may not be touched.
    ASAN_POISON_MEMORY_REGION(slab, kSlabBytes);
    slabs_.push_back(slab);
  }
  fresh_ = static_cast<char*>(slabs_[slab_++]);
  freshLeft_ = kSlabBytes;
}

void* SlabPool::Allocate() {
  void* at;
  if (free_) {
    ASAN_UNPOISON_MEMORY_REGION(free_, sizeof(FreeSlot));
    at = free_;
    free_ = free_->next;
  } else {
    if (freshLeft_ < slotBytes_) NextSlab();
    at = fresh_;
    fresh_ += slotBytes_;
    freshLeft_ -= slotBytes_;
  }
  ++live_;
  ASAN_UNPOISON_MEMORY_REGION(at, slotBytes_);
  return at;
}

void SlabPool::Release(void* at) {
  if (!at) return;
  ASAN_POISON_MEMORY_REGION(at, slotBytes_);
  if (--live_ == 0) {
    // Every slot is free: hand the slabs out from the start again.
    free_ = nullptr;
    slab_ = 0;
    fresh_ = nullptr;
    freshLeft_ = 0;
    return;
  }
  ASAN_UNPOISON_MEMORY_REGION(at, sizeof(FreeSlot));
  auto* slot = static_cast<FreeSlot*>(at);
  slot->next = free_;
  free_ = slot;
  ASAN_POISON_MEMORY_REGION(at, sizeof(FreeSlot));
}

void SlabPool::ReleaseUnused() {
  if (live_ != 0) return;
  for (void* slab : slabs_) {
    ASAN_UNPOISON_MEMORY_REGION(slab, kSlabBytes);
    UnmapSlab(slab);
  }
  slabs_.clear();
  free_ = nullptr;
  slab_ = 0;
  fresh_ = nullptr;
  freshLeft_ = 0;
}
