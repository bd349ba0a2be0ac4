#include "common/SlabPool.h"

#include <sanitizer/asan_interface.h>

#include <cstdint>
#include <new>

#include "common/Prefetch.h"
#include "common/SlabsAhead.h"

namespace {

size_t RoundUp(size_t n, size_t to) { return (n + to - 1) / to * to; }

}  // namespace

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
  // What stands ready goes back with the slabs.
  if (!slabs_.empty()) ReleaseSlabsAhead();
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
