// Equal-sized objects that live by the ten thousand and are walked over and
// over (the records of a network) kept together in large slabs instead of
// between the heap's small blocks: a walk over them then reads a few large
// pages, where scattered among their chains and texts every object sat on a
// page of its own and missed the address translation cache, more and more
// often as the network outgrew it.
#pragma once

#include <cstddef>
#include <vector>

#include "common/Prefetch.h"

// A slab of kSlabBytes of its own mapping, aligned to its size, hinted as
// one large page and faulted in whole (made ahead where a command asks for
// one after another, see SlabsAhead); std::bad_alloc when the system has
// no room. Give it back with UnmapSlab.
void* MapSlab();
void UnmapSlab(void* slab);

// One thread at a time: the plug-in makes and lets go of a network's
// records on the thread of its command, and a lock taken for each of
// hundreds of thousands of objects cost more than the rest of their
// keeping.
class SlabPool {
 public:
  // Slots are objectBytes rounded up to alignBytes (a power of two of at
  // least 8): a whole cache line each by default, for objects walked over
  // and over; objects read but rarely walked may take less.
  explicit SlabPool(size_t objectBytes, size_t alignBytes = kCacheLineBytes);
  // The slabs are kept for the objects of the next network, as the heap
  // keeps freed memory, until ReleaseUnused or the pool's end. Slabs that
  // still hold objects then are left alone (and show as leaked).
  ~SlabPool() { ReleaseUnused(); }
  SlabPool(const SlabPool&) = delete;
  SlabPool& operator=(const SlabPool&) = delete;

  // Room for one object of objectBytes (or fewer) bytes; throws
  // std::bad_alloc as operator new does.
  void* Allocate();
  // Gives back room that Allocate gave.
  void Release(void* at);

  // Gives every slab back to the system when no object is alive (as
  // malloc_trim does for the heap).
  void ReleaseUnused();

  size_t SlotBytes() const { return slotBytes_; }
  size_t SlabCount() const;

  static constexpr size_t kSlabBytes = size_t{2} << 20;  // one large page

 private:
  struct FreeSlot {
    FreeSlot* next;
  };
  void NextSlab();

  const size_t slotBytes_;
  size_t live_ = 0;
  // Room given back while others live; taken first. Once no object lives,
  // the slabs are handed out from the start again instead: a slot taken
  // from this list must be read before its object is made, one miss
  // after another, where the next slot of a slab is only written.
  FreeSlot* free_ = nullptr;
  std::vector<void*> slabs_;
  size_t slab_ = 0;        // the slab handed out from: slabs_[slab_ - 1]
  char* fresh_ = nullptr;  // its part never handed out since the start
  size_t freshLeft_ = 0;
};
