#include "common/SlabArena.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <new>

#include "common/SlabPool.h"
#include "common/SlabsAhead.h"

namespace {

constexpr size_t kAlign = 8;

}  // namespace

size_t SlabArena::SlabCount() const {
  return slabs_.size();
}

void SlabArena::NextSlab() {
  if (slab_ == slabs_.size()) {
    slabs_.reserve(slabs_.size() + 1);
    sorted_.reserve(sorted_.size() + 1);
    void* slab = MapSlab();
    // Under AddressSanitizer, room not handed out may not be touched.
    ASAN_POISON_MEMORY_REGION(slab, SlabPool::kSlabBytes);
    slabs_.push_back(slab);
    sorted_.insert(std::upper_bound(sorted_.begin(), sorted_.end(), slab, std::less<void*>()), slab);
  }
  fresh_ = static_cast<char*>(slabs_[slab_++]);
  freshLeft_ = SlabPool::kSlabBytes;
}

bool SlabArena::TryNextSlab() {
  try {
    NextSlab();
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

size_t SlabArena::OpenRoom() {
  const size_t room = std::min(freshLeft_, kLargestBlock);
  if (room) ASAN_UNPOISON_MEMORY_REGION(fresh_, room);
  return room;
}

void* SlabArena::CloseRoom(size_t room, size_t used) {
  if (used == 0 || used > room) {
    ASAN_POISON_MEMORY_REGION(fresh_, room);
    return nullptr;
  }
  ASAN_POISON_MEMORY_REGION(fresh_ + used, room - used);
  // Slabs and every step are multiples of kAlign: the rounding fits.
  const size_t rounded = (used + kAlign - 1) / kAlign * kAlign;
  char* at = fresh_;
  fresh_ += rounded;
  freshLeft_ -= rounded;
  ++live_;
  return at;
}

void* SlabArena::Allocate(size_t bytes) {
  void* at = Take(bytes);
  if (at) ++live_;
  return at;
}

void* SlabArena::AllocateWithBlocks(size_t bytes) {
  return Take(bytes);
}

void* SlabArena::Take(size_t bytes) {
  if (bytes == 0 || bytes > kLargestBlock) return nullptr;
  const size_t rounded = (bytes + kAlign - 1) / kAlign * kAlign;
  if (freshLeft_ < rounded && !TryNextSlab()) return nullptr;
  char* at = fresh_;
  fresh_ += rounded;
  freshLeft_ -= rounded;
  ASAN_UNPOISON_MEMORY_REGION(at, bytes);
  return at;
}

void SlabArena::Release(void* at, size_t bytes) {
  if (!at) return;
  ASAN_POISON_MEMORY_REGION(at, bytes);
  if (--live_ == 0) {
    // Every block is back: hand the slabs out from the start again. What
    // went with the blocks is gone with them.
    for (size_t i = 0; i < slab_; ++i) ASAN_POISON_MEMORY_REGION(slabs_[i], SlabPool::kSlabBytes);
    slab_ = 0;
    fresh_ = nullptr;
    freshLeft_ = 0;
  }
}

bool SlabArena::Holds(const void* at) const {
  const auto address = reinterpret_cast<uintptr_t>(at);
  auto* slab = reinterpret_cast<void*>(address - address % SlabPool::kSlabBytes);
  return std::binary_search(sorted_.begin(), sorted_.end(), slab, std::less<void*>());
}

void SlabArena::ReleaseUnused() {
  if (live_ != 0) return;
  // What stands ready goes back with the slabs.
  if (!slabs_.empty()) ReleaseSlabsAhead();
  for (void* slab : slabs_) {
    ASAN_UNPOISON_MEMORY_REGION(slab, SlabPool::kSlabBytes);
    UnmapSlab(slab);
  }
  slabs_.clear();
  sorted_.clear();
  slab_ = 0;
  fresh_ = nullptr;
  freshLeft_ = 0;
}
