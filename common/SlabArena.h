// Blocks of any size that are made together and let go together (the
// chains a command's records keep) taken one after another from large
// slabs (see SlabPool): letting tens of thousands of them go costs a count
// each and, at the end, a few page returns, where the heap freed and merged
// every node and text of them one by one.
//
// Room given back is not taken again until every block is back: then the
// slabs are handed out from the start again, kept until ReleaseUnused.
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

class SlabArena {
 public:
  SlabArena() = default;
  // Slabs that still hold blocks are left alone (and show as leaked).
  ~SlabArena() { ReleaseUnused(); }
  SlabArena(const SlabArena&) = delete;
  SlabArena& operator=(const SlabArena&) = delete;

  // Room for bytes at an 8-byte aligned address; null for 0 bytes, for
  // more than kLargestBlock and when the system has no slab left (the
  // caller then takes the heap).
  void* Allocate(size_t bytes);
  // Gives back a block Allocate gave, with the bytes asked for.
  void Release(void* at, size_t bytes);
  // Whether at lies in one of the arena's slabs.
  bool Holds(const void* at) const;

  // Gives every slab back to the system when no block is alive.
  void ReleaseUnused();
  size_t SlabCount() const;

  // Larger blocks would leave too much of a slab unused.
  static constexpr size_t kLargestBlock = size_t{256} << 10;

 private:
  void NextSlab();

  mutable std::mutex mutex_;
  size_t live_ = 0;
  std::vector<void*> slabs_;   // in the order they are handed out
  std::vector<void*> sorted_;  // the same, by address, for Holds
  size_t slab_ = 0;            // the slab handed out from: slabs_[slab_ - 1]
  char* fresh_ = nullptr;
  size_t freshLeft_ = 0;
};
