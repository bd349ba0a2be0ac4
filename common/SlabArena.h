// Blocks of any size that are made together and let go together (the
// chains a command's records keep) taken one after another from large
// slabs (see SlabPool): letting tens of thousands of them go costs a count
// each and, at the end, a few page returns, where the heap freed and merged
// every node and text of them one by one.
//
// Room given back is not taken again until every block is back: then the
// slabs are handed out from the start again, kept until ReleaseUnused.
//
// One thread at a time, as SlabPool.
#pragma once

#include <algorithm>
#include <cstddef>
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
  // A block written in place, for what cannot tell its size before it is
  // written: fill(room, roomBytes) writes at most roomBytes bytes at room
  // (8-byte aligned) and gives how many it took, or 0 when it needs more.
  // It is offered what is left of the slab handed out from (at most
  // kLargestBlock), then, when that was less, a fresh slab's. Null when it
  // fit neither or the system has no slab left.
  template <typename Fill>
  void* AllocateFilled(Fill&& fill);
  // Room that goes with the blocks alive: not counted as a block of its
  // own, it is taken again once the last block is back. For parts hung
  // into a block that lives at least as long (call it only while one
  // does); null as Allocate.
  void* AllocateWithBlocks(size_t bytes);
  // Gives back a block Allocate gave, with the bytes asked for (or that
  // AllocateFilled's fill took).
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
  bool TryNextSlab();
  // Room of bytes from the slab handed out from, or the next.
  void* Take(size_t bytes);
  // The room fill is offered, and what it took of it.
  size_t OpenRoom();
  void* CloseRoom(size_t room, size_t used);

  size_t live_ = 0;
  std::vector<void*> slabs_;   // in the order they are handed out
  std::vector<void*> sorted_;  // the same, by address, for Holds
  size_t slab_ = 0;            // the slab handed out from: slabs_[slab_ - 1]
  char* fresh_ = nullptr;
  size_t freshLeft_ = 0;
};

template <typename Fill>
void* SlabArena::AllocateFilled(Fill&& fill) {
  for (bool fresh : {false, true}) {
    if (fresh && !TryNextSlab()) return nullptr;
    const size_t room = OpenRoom();
    if (room == 0) continue;
    if (void* at = CloseRoom(room, fill(fresh_, room))) return at;
    if (room == kLargestBlock) return nullptr;  // no slab offers more
  }
  return nullptr;
}
